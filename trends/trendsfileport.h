#pragma once

#include <QString>

class QWidget;

// Where the trends window asks for a file name and tells of a failure;
// tests answer with a path of their own.
class TrendsFilePort
{
public:
    virtual ~TrendsFilePort() = default;
    // The chosen path, or empty when the user cancelled.
    virtual QString saveFileName(const QString &caption, const QString &suggestedPath,
                                 const QString &filter) = 0;
    virtual void tell(const QString &text, const QString &title) = 0;
};

// The desktop's save dialog and message box.
class DialogTrendsFilePort : public TrendsFilePort
{
public:
    explicit DialogTrendsFilePort(QWidget *parent) : m_parent(parent) {}
    QString saveFileName(const QString &caption, const QString &suggestedPath,
                         const QString &filter) override;
    void tell(const QString &text, const QString &title) override;

private:
    QWidget *m_parent;
};
