#pragma once

#include <QString>

class QWidget;

// The plotter's message boxes, behind a port so tests can record them
// instead of waiting for a click.
class MessagePort
{
public:
    virtual ~MessagePort() = default;
    // An information box with a single OK button; returns when it is closed.
    virtual void information(const QString &title, const QString &text) = 0;
    // A warning box with a single OK button, for a failure.
    virtual void warning(const QString &title, const QString &text) = 0;
};

class MessageBoxPort : public MessagePort
{
public:
    explicit MessageBoxPort(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParentWidget(QWidget *parent) { m_parent = parent; }
    void information(const QString &title, const QString &text) override;
    void warning(const QString &title, const QString &text) override;

private:
    QWidget *m_parent;
};
