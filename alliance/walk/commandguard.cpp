#include "alliance/walk/commandguard.h"

CommandGuard::Scope::Scope(CommandGuard &guard) : m_guard(guard), m_owns(!guard.m_busy)
{
    if (m_owns) {
        m_guard.m_busy = true;
        if (m_guard.m_onChange)
            m_guard.m_onChange(true);
    }
}

CommandGuard::Scope::~Scope()
{
    if (m_owns) {
        m_guard.m_busy = false;
        if (m_guard.m_onChange)
            m_guard.m_onChange(false);
    }
}
