#include "dialogs/AnimationDialog.h"

#include "dialogs/FieldText.h"
#include "editing/NumberText.h"
#include "platform/DialogBuilder.h"
#include "platform/QtText.h"
#include "resources/AnimationTemplate.h"
#include "resources/Strings.h"
#include "shipfile/Layout.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace dialogs {

namespace {

namespace id = resources::animation;
namespace lay = shipfile::layout;
using editing::Axis;

// The trigger field is read as at most this many characters of its first line.
constexpr qsizetype FieldChars = 79;

QString integerText(std::int32_t value)
{
    return QString::fromStdString(editing::formatInteger(value));
}

// Shows `text` and runs the field's handler even when the field already shows it, so what the
// dialog shows is always what the record holds, whatever the field showed before. The narrow
// angle fields show the start of their text.
void rewrite(QLineEdit* field, const QString& text)
{
    if (field->text() == text)
        Q_EMIT field->textChanged(text);
    else
        field->setText(text);
    field->setCursorPosition(0);
}

int selectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// Selects a row without running the list's handler, which answers only the user.
void selectQuietly(QListWidget* list, int row)
{
    const QSignalBlocker blocker(list);
    list->setCurrentRow(row);
    if (QListWidgetItem* item = list->item(row))
        list->scrollToItem(item);
}

} // namespace

AnimationDialog::AnimationDialog(shipfile::ShipFile& file, int component, QWidget* parent)
    : QDialog(parent), m_file(file)
{
    platform::buildDialog(*this, resources::AnimationTemplate);
    auto* ok = platform::findControl<QPushButton>(*this, id::Ok);
    m_totalTime = platform::findControl<QLineEdit>(*this, id::TotalTime);
    m_type = platform::findControl<QListWidget>(*this, id::Type);
    m_trigger = platform::findControl<QLineEdit>(*this, id::Trigger);
    m_frames = platform::findControl<QListWidget>(*this, id::Frames);
    m_frameTime = platform::findControl<QLineEdit>(*this, id::FrameTime);
    m_angleX = platform::findControl<QLineEdit>(*this, id::AngleX);
    m_angleY = platform::findControl<QLineEdit>(*this, id::AngleY);
    m_angleZ = platform::findControl<QLineEdit>(*this, id::AngleZ);
    m_moveX = platform::findControl<QLineEdit>(*this, id::MoveX);
    m_moveY = platform::findControl<QLineEdit>(*this, id::MoveY);
    m_moveZ = platform::findControl<QLineEdit>(*this, id::MoveZ);
    m_newFrame = platform::findControl<QPushButton>(*this, id::NewFrame);
    m_deleteFrame = platform::findControl<QPushButton>(*this, id::DeleteFrame);
    m_play = platform::findControl<QPushButton>(*this, id::Play);
    Q_ASSERT(ok && m_totalTime && m_type && m_trigger && m_frames && m_frameTime && m_angleX &&
             m_angleY && m_angleZ && m_moveX && m_moveY && m_moveZ && m_newFrame &&
             m_deleteFrame && m_play);
    // What the timing fields mean to the view's playback is assumed; the tip says how.
    const QString timing = QString::fromUtf8(resources::strings::PlaybackTiming);
    for (QWidget* w : std::initializer_list<QWidget*>{m_play, m_totalTime, m_type, m_frameTime})
        w->setToolTip(timing);

    // The field shows no more of the trigger than its 16 bytes keep.
    m_trigger->setMaxLength(static_cast<int>(lay::animationHeader::TriggerSize));
    acceptStorableText(*m_trigger);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_totalTime, &QLineEdit::textChanged, this, &AnimationDialog::totalTimeEdited);
    // Selection, not the current row: focus moves the current row without the user picking.
    connect(m_type, &QListWidget::itemSelectionChanged, this, &AnimationDialog::typeSelected);
    connect(m_trigger, &QLineEdit::textChanged, this, &AnimationDialog::triggerEdited);
    connect(m_frames, &QListWidget::itemSelectionChanged, this, &AnimationDialog::frameSelected);
    connect(m_frameTime, &QLineEdit::textChanged, this, &AnimationDialog::frameTimeEdited);
    connect(m_angleX, &QLineEdit::textChanged, this, &AnimationDialog::angleXEdited);
    connect(m_angleY, &QLineEdit::textChanged, this, &AnimationDialog::angleYEdited);
    connect(m_angleZ, &QLineEdit::textChanged, this, &AnimationDialog::angleZEdited);
    connect(m_moveX, &QLineEdit::textChanged, this, &AnimationDialog::moveXEdited);
    connect(m_moveY, &QLineEdit::textChanged, this, &AnimationDialog::moveYEdited);
    connect(m_moveZ, &QLineEdit::textChanged, this, &AnimationDialog::moveZEdited);
    connect(m_newFrame, &QPushButton::clicked, this, &AnimationDialog::newFrame);
    connect(m_deleteFrame, &QPushButton::clicked, this, &AnimationDialog::deleteFrame);
    connect(m_play, &QPushButton::clicked, this, &AnimationDialog::playToggled);

    const auto blocks = editing::openAnimation(file, component);
    if (!blocks) {
        // No section to animate: nothing here can be edited.
        for (QWidget* child : findChildren<QWidget*>())
            child->setEnabled(child == ok || child == m_play);
        m_currentFrame = -1;
        return;
    }
    m_blocks = *blocks;

    if (const auto header = editing::readAnimationHeader(m_blocks.header)) {
        fillHeader(*header);
    } else {
        m_totalTime->setEnabled(false);
        m_type->setEnabled(false);
        m_trigger->setEnabled(false);
    }
    fillFrames();
}

void AnimationDialog::showPlaying(bool playing)
{
    m_play->setText(QString::fromUtf8(playing ? resources::strings::StopButton
                                              : resources::strings::PlayButton));
}

// Each text set here runs its handler, so the header holds what the fields show: a short
// trigger ends up padded with zero bytes.
void AnimationDialog::fillHeader(const editing::AnimationHeader& header)
{
    for (std::string_view name : editing::AnimationTypeNames)
        m_type->addItem(platform::toQString(name));
    rewrite(m_totalTime, integerText(header.totalTime));
    // A stored type outside the list stays until the user picks one.
    if (header.type >= 0 && header.type < m_type->count())
        selectQuietly(m_type, header.type);
    rewrite(m_trigger, platform::nameToQString(header.trigger));
}

void AnimationDialog::fillFrames()
{
    // Records too short for a frame are never addressed as frames.
    if (m_blocks.frames->recordSize < lay::animationFrame::RecordSize) {
        for (QLineEdit* field :
             {m_frameTime, m_angleX, m_angleY, m_angleZ, m_moveX, m_moveY, m_moveZ})
            field->setEnabled(false);
    }
    showFrame();
    for (int k = 0; k < static_cast<int>(m_blocks.frames->count()); ++k)
        m_frames->addItem(QString::fromStdString(editing::frameLabel(k)));
    selectQuietly(m_frames, m_currentFrame);
}

// Showing a frame writes it back from its text: angles pass through six-decimal degrees.
void AnimationDialog::showFrame()
{
    const auto frame = editing::readFrame(*m_blocks.frames, m_currentFrame);
    if (!frame)
        return;
    rewrite(m_frameTime, integerText(frame->time));
    rewrite(m_angleX, QString::fromStdString(editing::angleText(frame->rotation.x)));
    rewrite(m_angleY, QString::fromStdString(editing::angleText(frame->rotation.y)));
    rewrite(m_angleZ, QString::fromStdString(editing::angleText(frame->rotation.z)));
    rewrite(m_moveX, QString::fromStdString(editing::formatFixed(frame->move.x)));
    rewrite(m_moveY, QString::fromStdString(editing::formatFixed(frame->move.y)));
    rewrite(m_moveZ, QString::fromStdString(editing::formatFixed(frame->move.z)));
}

// A number field whose text is no valid value is marked and writes nothing.
void AnimationDialog::totalTimeEdited(const QString& text)
{
    if (const auto value = integerField(*m_totalTime, text))
        editing::setTotalTime(m_blocks.header, *value);
}

void AnimationDialog::typeSelected()
{
    const int row = selectedRow(m_type);
    if (row >= 0)
        editing::setAnimationType(m_blocks.header, static_cast<std::int16_t>(row));
}

void AnimationDialog::triggerEdited(const QString& text)
{
    editing::setTrigger(m_blocks.header, fieldText(text, FieldChars));
}

void AnimationDialog::frameSelected()
{
    m_currentFrame = selectedRow(m_frames);
    if (m_currentFrame >= 0)
        showFrame();
}

void AnimationDialog::frameTimeEdited(const QString& text)
{
    const auto value = integerField(*m_frameTime, text);
    if (value && m_blocks.frames && m_currentFrame >= 0)
        editing::setFrameTime(*m_blocks.frames, m_currentFrame, *value);
}

void AnimationDialog::angleXEdited(const QString& text)
{
    angleEdited(*m_angleX, Axis::X, text);
}

void AnimationDialog::angleYEdited(const QString& text)
{
    angleEdited(*m_angleY, Axis::Y, text);
}

void AnimationDialog::angleZEdited(const QString& text)
{
    angleEdited(*m_angleZ, Axis::Z, text);
}

void AnimationDialog::moveXEdited(const QString& text)
{
    moveEdited(*m_moveX, Axis::X, text);
}

void AnimationDialog::moveYEdited(const QString& text)
{
    moveEdited(*m_moveY, Axis::Y, text);
}

void AnimationDialog::moveZEdited(const QString& text)
{
    moveEdited(*m_moveZ, Axis::Z, text);
}

void AnimationDialog::angleEdited(QLineEdit& field, Axis axis, const QString& text)
{
    const auto value = realField(field, text);
    if (value && m_blocks.frames && m_currentFrame >= 0)
        editing::setFrameRotation(*m_blocks.frames, m_currentFrame, axis, *value);
}

void AnimationDialog::moveEdited(QLineEdit& field, Axis axis, const QString& text)
{
    const auto value = realField(field, text);
    if (value && m_blocks.frames && m_currentFrame >= 0)
        editing::setFrameMove(*m_blocks.frames, m_currentFrame, axis, static_cast<float>(*value));
}

// The new frame is all zero; the selection stays where it was.
void AnimationDialog::newFrame()
{
    if (m_blocks.frames && editing::appendFrame(m_file, *m_blocks.frames))
        m_frames->addItem(QString::fromStdString(
            editing::frameLabel(static_cast<int>(m_blocks.frames->count()) - 1)));
}

// Afterwards no frame is selected: the fields keep showing the deleted frame and typing into
// them changes nothing until the user picks one. The entries are numbered afresh, so entry k
// still reads as frame k.
void AnimationDialog::deleteFrame()
{
    if (!m_blocks.frames || m_currentFrame < 0 ||
        !editing::deleteFrame(*m_blocks.frames, m_currentFrame))
        return;
    {
        const QSignalBlocker blocker(m_frames);
        delete m_frames->takeItem(m_currentFrame);
        for (int k = 0; k < m_frames->count(); ++k)
            m_frames->item(k)->setText(QString::fromStdString(editing::frameLabel(k)));
        m_frames->clearSelection();
        m_frames->setCurrentRow(-1);
    }
    m_currentFrame = -1;
}

} // namespace dialogs
