#pragma once

// The string table: texts of menus, file dialogs and resources that are not message boxes.
namespace resources::strings {

inline constexpr const char* AboutMenuEntry = "&About Korvex...";
inline constexpr const char* ShpFilesFilter = "Vantaris SHP (*.shp)";
inline constexpr const char* AllFilesFilter = "All Files (*)";
inline constexpr const char* IconResource = ":/korvex.png";

// The window's context menu. The undo and redo entries add the name of their step.
inline constexpr const char* UndoMenuEntry = "&Undo";
inline constexpr const char* RedoMenuEntry = "&Redo";
inline constexpr const char* OpenMenuEntry = "&Open SHP File...";
inline constexpr const char* SaveMenuEntry = "&Save";
inline constexpr const char* SaveAsMenuEntry = "Save &As...";
inline constexpr const char* RecentFilesMenuEntry = "Recent &Files";
inline constexpr const char* NoRecentFilesEntry = "(none)";

// The names of the undo steps, one per user action.
namespace steps {
inline constexpr const char* AddAttachment = "Add attachment";
inline constexpr const char* RemoveAttachment = "Remove attachment";
inline constexpr const char* CopyAttachment = "Copy attachment";
inline constexpr const char* CopyInvertX = "Copy-Invert X";
inline constexpr const char* NearestPosition = "Nearest position";
inline constexpr const char* AttachmentProperties = "Attachment properties";
inline constexpr const char* MoveAttachment = "Move attachment";
inline constexpr const char* MoveComponent = "Move component";
inline constexpr const char* ComponentProperties = "Component properties";
inline constexpr const char* DeleteComponent = "Delete component";
inline constexpr const char* ChangeShipClass = "Change ship class";
inline constexpr const char* Animation = "Animation";
inline constexpr const char* Larger = "Larger";
inline constexpr const char* Smaller = "Smaller";
inline constexpr const char* CreateBox = "Create box";
inline constexpr const char* ClearBoxes = "Clear box(es)";
inline constexpr const char* MergeShp = "Merge SHP";
inline constexpr const char* DummyTriangle = "Dummy Triangle";
inline constexpr const char* Block13 = "Block13";
inline constexpr const char* Block14 = "Block14";
} // namespace steps

} // namespace resources::strings
