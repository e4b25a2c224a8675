// JetConverter: runs the database converter (`quillmar-db convert`) in a child process for the
// desktop, so a damaged Access file can bring down only the child. Shows a busy dialog the user
// can cancel, stops a child that runs past the time limit, and answers what happened: the
// converter's summary, or a reason for the user.
#pragma once

#include <string>

class QWidget;

class JetConverter {
public:
    struct Outcome {
        bool converted = false;
        bool cancelled = false;  // the user stopped it: nothing to report
        std::string summary;     // "Converted N expenses, ..."
        std::string reason;      // why not, when neither converted nor cancelled
    };

    // Writes target (replacing a file the user agreed to replace) from the Jet file source.
    static Outcome Run(const std::string& source, const std::string& target, QWidget* parent);

    // The converter: quillmar-db beside this program, else the one of its build tree. Tests
    // put a program of their own and a shorter time limit.
    static std::string Program();
    static void SetProgram(const std::string& program);
    static void SetTimeLimit(int milliseconds);
};
