#include "alliance/window/commandinputs.h"

#include <QLineEdit>

namespace {

struct Box
{
    const char16_t *control;
    QString CommandInputs::*input;
};

constexpr Box kBoxes[] = {
    {u"Text2", &CommandInputs::allianceIdText},
    {u"Text3(0)", &CommandInputs::populationStepText},
    {u"Text3(1)", &CommandInputs::meritStepText},
    {u"Text4", &CommandInputs::keywordBox},
};

QLineEdit *box(const QHash<QString, QWidget *> &controls, const Box &which)
{
    return qobject_cast<QLineEdit *>(controls.value(QString::fromUtf16(which.control)));
}

} // namespace

namespace CommandInputBoxes {

void read(const QHash<QString, QWidget *> &controls, CommandInputs &inputs)
{
    for (const Box &which : kBoxes)
        inputs.*which.input = box(controls, which)->text();
}

void show(const QHash<QString, QWidget *> &controls, const CommandInputs &inputs)
{
    for (const Box &which : kBoxes) {
        if (QLineEdit *edit = box(controls, which); edit->text() != inputs.*which.input)
            edit->setText(inputs.*which.input);
    }
}

} // namespace CommandInputBoxes
