// The program's standard message box: exact text, caption, buttons and icon. Every message the
// desktop program shows goes through here, so a test can answer it (and check what it said)
// instead of a person.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ui {

class MessageBox {
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Information, Warning, Question, Stop };
    enum class Answer { Ok, Yes, No };

    struct Shown {
        QString text;     // the message
        QString caption;  // the title bar
        Buttons buttons;
        Icon icon;
    };
    using Handler = std::function<Answer(const Shown&)>;

    // Shows the box modally; the caption defaults to the program's name, "Quillmar".
    static Answer Show(QWidget* parent, const QString& text, const QString& caption = {},
                       Buttons buttons = Buttons::Ok, Icon icon = Icon::None);

    // Tests: every box goes to handler instead of the screen while it is set.
    static void SetHandler(Handler handler);
};

}  // namespace ui
