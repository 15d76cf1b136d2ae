#include "app/EditStep.h"

#include "app/MainDialog.h"
#include "app/PreviewControls.h"

#include <utility>

namespace app {

EditStep::EditStep(MainDialog& window, std::string label, Playback playback) : m_window(window)
{
    if (playback == Playback::Stops)
        m_window.preview().stop();
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
