#pragma once

#include <QCheckBox>

// A check box whose caption wraps onto a second line when the box is too
// narrow for it, as the tool window's layout expects: 「保存データを参考に
// する」 does not fit on one line at its designed width.
class WrappingCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent *event) override;
};
