#include "ui/messagebox.h"

#include <QMessageBox>

namespace MessageBox {

namespace {

std::optional<bool> &nextAnswer()
{
    static std::optional<bool> answer;
    return answer;
}

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

bool show(QWidget *parent, const QString &title, const QString &text, Icon icon, Buttons buttons, Layer layer)
{
    if (nextAnswer())
        return *nextAnswer();
    const QMessageBox::StandardButtons shown =
        buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QMessageBox box(boxIcon(icon), title, text, shown, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, layer == Layer::AboveToolWindows);
    const int answer = box.exec();
    return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}

void setNextAnswer(std::optional<bool> answer)
{
    nextAnswer() = answer;
}

} // namespace MessageBox
