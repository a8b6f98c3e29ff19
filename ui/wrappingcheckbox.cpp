#include "ui/wrappingcheckbox.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

void WrappingCheckBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear(); // the style draws the indicator; the caption is ours
    painter.drawControl(QStyle::CE_CheckBox, option);

    const QRect textArea = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextWrapAnywhere;
    // Fonts here run wider than the ones the layout was drawn with: step the
    // size down until the whole caption fits, rather than cut it off.
    QFont captionFont = font();
    while (captionFont.pointSizeF() > 6 &&
           !textArea.contains(QFontMetrics(captionFont).boundingRect(textArea, flags, caption)))
        captionFont.setPointSizeF(captionFont.pointSizeF() - 0.5);
    painter.setFont(captionFont);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textArea, flags, caption);
}
