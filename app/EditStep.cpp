#include "app/EditStep.h"

#include "app/MainDialog.h"

#include <utility>

namespace app {

EditStep::EditStep(MainDialog& window, std::string label) : m_window(window)
{
    editing::Session* session = m_window.state().session.get();
    if (session && session->begin(std::move(label)))
        m_session = session;
}

EditStep::~EditStep()
{
    if (owns() && m_window.state().session->commit())
        m_window.refreshHistoryEntries();
}

shipfile::ShipFile& EditStep::ship()
{
    return *m_window.state().session->editable();
}

void EditStep::cancel()
{
    if (owns() && m_window.state().session->rollback())
        m_window.showRestoredDocument();
    m_session = nullptr;
}

bool EditStep::owns() const
{
    return m_session && m_window.state().session.get() == m_session;
}

} // namespace app
