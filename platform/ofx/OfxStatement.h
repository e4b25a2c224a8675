// OfxStatement: the transactions of an OFX or QFX bank statement, read through libofx: each one's
// date posted, amount (negative for a payment), name, memo and check number, in file order.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"

namespace ofx {

struct Transaction {
    long number = 0;  // from 1, in file order
    ole::DateTime posted = ole::DateTime::invalid();
    ole::Currency amount;  // to the ten-thousandth
    std::string name, memo, checkNumber;
};

// Whether bytes look like an OFX statement (the SGML header or an <OFX> element).
bool LooksLikeOfx(const std::string& bytes);
// Throws std::runtime_error when libofx does not accept the file.
std::vector<Transaction> ReadStatement(const std::string& path);

}  // namespace ofx
