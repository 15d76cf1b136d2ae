#pragma once

#include "editing/Animation.h"
#include "shipfile/ShipFile.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace dialogs {

/// "Component Animation Editing": one component's animation header (total time, type, trigger)
/// and its key frames, edited in their blocks as they change. Opening it on a component without
/// a frames block creates one with a zero frame, which stays in the ship. Frame angles are shown
/// in degrees and stored in radians; every value the dialog shows is written back as the parse
/// of its text. There is no Cancel: however the dialog closes, what was written stays.
///
/// A section without a header block gets "Missing Block10" (through the ship's message sink);
/// the header fields then stay empty, disabled and write nowhere, while the frames can be
/// edited as usual.
///
/// "Play" asks for the ship's animations to play in the main window's view (playToggled); the
/// owner says whether they play (showPlaying), and the button then reads "Stop".
class AnimationDialog final : public QDialog
{
    Q_OBJECT

public:
    AnimationDialog(shipfile::ShipFile& file, int component, QWidget* parent = nullptr);

    void showPlaying(bool playing);

Q_SIGNALS:
    void playToggled();

private:
    void fillHeader(const editing::AnimationHeader& header);
    void fillFrames();
    void showFrame();

    void totalTimeEdited(const QString& text);
    void typeSelected();
    void triggerEdited(const QString& text);
    void frameSelected();
    void frameTimeEdited(const QString& text);
    void angleXEdited(const QString& text);
    void angleYEdited(const QString& text);
    void angleZEdited(const QString& text);
    void moveXEdited(const QString& text);
    void moveYEdited(const QString& text);
    void moveZEdited(const QString& text);
    void angleEdited(QLineEdit& field, editing::Axis axis, const QString& text);
    void moveEdited(QLineEdit& field, editing::Axis axis, const QString& text);
    void newFrame();
    void deleteFrame();

    shipfile::ShipFile& m_file;
    editing::AnimationBlocks m_blocks;
    /// The frame the frame fields show and edit, or -1 when none is selected.
    int m_currentFrame = 0;

    QLineEdit* m_totalTime = nullptr;
    QListWidget* m_type = nullptr;
    QLineEdit* m_trigger = nullptr;
    QListWidget* m_frames = nullptr;
    QLineEdit* m_frameTime = nullptr;
    QLineEdit* m_angleX = nullptr;
    QLineEdit* m_angleY = nullptr;
    QLineEdit* m_angleZ = nullptr;
    QLineEdit* m_moveX = nullptr;
    QLineEdit* m_moveY = nullptr;
    QLineEdit* m_moveZ = nullptr;
    QPushButton* m_newFrame = nullptr;
    QPushButton* m_deleteFrame = nullptr;
    QPushButton* m_play = nullptr;
};

} // namespace dialogs
