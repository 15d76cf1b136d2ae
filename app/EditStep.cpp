#include "app/EditStep.h"

#include "app/MainDialog.h"
#include "app/PreviewControls.h"

#include <utility>

namespace app {

EditStep::EditStep(MainDialog& window, std::string label, Playback playback)
    : m_window(window), m_label(std::move(label))
{
    if (playback == Playback::Stops)
        m_window.preview().stop();
    const EditorState& state = m_window.state();
    if (state.fileLoaded && state.file) {
        m_file = state.file.get();
        m_before = m_file->serialise();
    }
}

EditStep::~EditStep()
{
    shipfile::ShipFile* file = openFile();
    if (file && m_window.state().history.record(std::move(m_label), std::move(m_before), *file))
        m_window.refreshHistoryEntries();
}

void EditStep::cancel()
{
    shipfile::ShipFile* file = openFile();
    if (file && !file->matchesImage(m_before)) {
        file->restore(m_before);
        m_window.showRestoredDocument();
    }
    m_file = nullptr;
}

shipfile::ShipFile* EditStep::openFile() const
{
    const EditorState& state = m_window.state();
    return m_file && state.fileLoaded && state.file.get() == m_file ? state.file.get() : nullptr;
}

} // namespace app
