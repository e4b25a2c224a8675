// Message boxes through QMessageBox, or the test handler.
#include "platform/ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {
namespace {

MessageBox::Handler& handler()
{
    static MessageBox::Handler instance;
    return instance;
}

QMessageBox::Icon toolkitIcon(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Icon::Information: return QMessageBox::Information;
    case MessageBox::Icon::Warning: return QMessageBox::Warning;
    case MessageBox::Icon::Question: return QMessageBox::Question;
    case MessageBox::Icon::Stop: return QMessageBox::Critical;
    case MessageBox::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void MessageBox::SetHandler(Handler replacement) { handler() = std::move(replacement); }

MessageBox::Answer MessageBox::Show(QWidget* parent, const QString& text, const QString& caption, Buttons buttons, Icon icon,
                                    Answer defaultAnswer)
{
    if (buttons == Buttons::Ok)
        defaultAnswer = Answer::Ok;
    const Shown shown{text, caption.isEmpty() ? QString("Quillmar") : caption, buttons, icon, defaultAnswer};
    if (handler())
        return handler()(shown);
    QMessageBox box(toolkitIcon(icon), shown.caption, text,
                    buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    if (buttons == Buttons::YesNo)
        box.setDefaultButton(defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    const int result = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

}  // namespace ui
