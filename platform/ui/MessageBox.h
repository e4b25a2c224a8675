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
        Answer defaultAnswer;  // the button Enter presses (Yes or No for a question)
    };
    using Handler = std::function<Answer(const Shown&)>;

    // Shows the box modally; the caption defaults to the program's name, "Quillmar". A question
    // whose Yes cannot be undone makes No its default.
    static Answer Show(QWidget* parent, const QString& text, const QString& caption = {},
                       Buttons buttons = Buttons::Ok, Icon icon = Icon::None, Answer defaultAnswer = Answer::Yes);

    // Tests: every box goes to handler instead of the screen while it is set.
    static void SetHandler(Handler handler);
};

}  // namespace ui
