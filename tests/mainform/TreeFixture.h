// A database whose tree shows every line form, and a dump of a view's tree for comparisons.
#pragma once

#include <QStringList>

class CQuillmarView;
class TestDatabase;

// Types 0, 1, a reimbursable type by project (12, projects Acme and Birch) and a type by year
// (20); rows chosen so that every line form, status code and sum appears.
void fillTreeFixture(const TestDatabase& db);

// Every line of the tree, depth first, two spaces of indent per level, trailing blanks removed.
QStringList dump(CQuillmarView& view);
