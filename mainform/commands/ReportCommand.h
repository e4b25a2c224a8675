// ReportCommand: File > Reports... asks for the report in "Report Options", then previews it or
// prints it on the printer chosen in the print dialog.
#pragma once

#include "mainform/commands/ViewCommand.h"

struct ReportSettings;

class ReportCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Run(ReportSettings& settings);
};
