#pragma once

#include <QKeySequence>
#include <QList>

#include <span>

namespace app {

class MainDialog;

/// The main window's commands, one row each. The row is the one place for what the window
/// shows of a command: its button or check box, its menu entry and keys, its tooltip, the
/// name of its undo step and what it needs before it can run.
enum class CommandId
{
    Open,
    Save,
    SaveAs,
    Import,
    Export,
    GameFolder,
    MergeShp,
    Exit,
    Undo,
    Redo,
    ComponentProperties,
    DeleteComponent,
    Animation,
    ChangeShipClass,
    Larger,
    Smaller,
    CreateBox,
    ClearBoxes,
    DummyTriangle,
    Block13,
    Block14,
    AddAttachment,
    RemoveAttachment,
    CopyAttachment,
    CopyInvertX,
    NearestPosition,
    AttachmentProperties,
    TypeOneOnly,
    Flames,
    Rotate,
    Back,
    FitView,
    TextureMap,
    HighQualityTextures,
    MarkSelected,
    ShowBoxes,
    IgnoreDest,
    Preview,
    CenterOnObject,
    CycleMouseMode,
    Checks,
    Textures,
    Shortcuts,
    About,
};

/// What a command needs before it can run; its controls are disabled without it.
enum class Needs
{
    Nothing,
    Ship,
    Component,
    Attachment,
};

enum class Menu
{
    File,
    Edit,
    View,
    Help,
};

/// What the window shows afresh after a command ran: the title, the ship-class field and the
/// enabled controls always; the view and the lists when the row says so.
enum Refresh
{
    RefreshNothing = 0,
    RefreshView = 1,
    RefreshLists = 2,
};

struct Command
{
    CommandId id;
    /// The menu entry's text; without its '&' and "..." it is the undo step's name.
    const char* text;
    Menu menu;
    /// The button or check box in the window, or NoControl.
    int control;
    QList<QKeySequence> keys;
    Needs needs;
    /// Whether the command changes the ship: it runs as one undo step.
    bool edits;
    int refresh;
    /// Says in plain words what the command does.
    const char* tip;
    void (*run)(MainDialog&);
    /// Keys the window's key handling owns (the view keys, F, Shift): shown in the menu and the
    /// shortcut list, never bound to the entry.
    const char* keyHint = nullptr;
    /// Starts a group of entries in its menu.
    bool separatorBefore = false;
};

inline constexpr int NoControl = -1;

/// Every command of the main window, in menu order.
std::span<const Command> commandTable();
/// The row of `id`.
const Command& command(CommandId id);

} // namespace app
