#pragma once

#include <QObject>

namespace app {

class MainDialog;

/// The commands of the "Attached objects (block9)" group: Add, Remove, Copy, Copy-Invert X,
/// Nearest position with its Rotate and Back options, and the properties dialog that a
/// double-click on an attached-objects entry opens. Each acts on the selected component and
/// attachment, does nothing while one it needs is missing, and leaves the attached-objects list
/// showing the component's attachments afterwards. Owned by the main window, whose buttons it
/// connects itself.
class AttachmentCommands final : public QObject
{
    Q_OBJECT

public:
    explicit AttachmentCommands(MainDialog& window);

    /// Asks for a kind and appends that kind's template; the new (last) entry is selected.
    void addAttachment();
    /// Removes the selected attachment; the last entry of the list is selected afterwards.
    void removeAttachment();
    /// Appends a copy of the selected attachment. The selection stays on the source, shown
    /// without a highlight.
    void copyAttachment();
    /// As copyAttachment, with the copy's x position negated.
    void copyAttachmentMirrored();
    /// Moves the selected attachment to the nearest face centre of its component and, with
    /// Rotate, turns it to the face (away from it with Back).
    void snapToNearestFace();
    void toggleRotate();
    void toggleBack();
    /// Runs the properties dialog on the selected attachment, then lists it again, selected.
    void editAttachmentProperties();

private:
    void copy(bool mirrored);
    /// After a command that changed the document: the view and the title show it.
    void documentChanged(bool redraw);

    MainDialog& m_window;
    /// "Back": Nearest position turns attachments to face away from the face.
    bool m_back = false;
};

} // namespace app
