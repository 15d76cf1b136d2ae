#pragma once

// The string table: texts of menus, file dialogs and resources that are not message boxes.
namespace resources::strings {

inline constexpr const char* ImportMenuEntry = "&Import...";
inline constexpr const char* ModelFilter = "3D models (*.glb *.gltf *.obj)";
// The import dialog: the model's meshes, what each does to the ship, and the report.
inline constexpr const char* ImportTitle = "Import %s";
inline constexpr const char* ImportMeshColumn = "Model mesh";
inline constexpr const char* ImportActionColumn = "Action";
inline constexpr const char* ImportCountsColumn = "Vertices and faces";
inline constexpr const char* ImportReplace = "Replace \"%s\"";
inline constexpr const char* ImportAddNew = "Add as a new component";
inline constexpr const char* ImportSkip = "Skip";
inline constexpr const char* ImportCounts = "%1 -> %2 vertices, %3 -> %4 faces";
inline constexpr const char* ImportKept = "kept as it was";

// The attachment properties dialog refusing OK: the coordinate's name and its text.
inline constexpr const char* CoordinateRefused =
    "The %1 coordinate \"%2\" is not a number a ship can hold.";

inline constexpr const char* TexturesMenuEntry = "&Textures...";
inline constexpr const char* PngFilter = "PNG images (*.png)";

// The texture browser.
inline constexpr const char* TexturesCaption = "Textures";
inline constexpr const char* TexturesFilter = "Filter by name";
inline constexpr const char* ReplaceFromImage = "&Replace from image...";
inline constexpr const char* AddImage = "&Add image...";
inline constexpr const char* CloseButton = "Close";
inline constexpr const char* TextureSize = "%1 x %2, %3-bit";
inline constexpr const char* TextureDamaged = "damaged";
inline constexpr const char* TextureMissing = "not in the cache";
inline constexpr const char* TextureFaces = "%1 faces of this ship";
inline constexpr const char* TexturesHint =
    "Selecting a texture marks the faces that use it. \"Add image...\" names the new texture "
    "after the missing name selected (red), or else after the image file.";
inline constexpr const char* GlbFilter = "glTF binary (*.glb)";
inline constexpr const char* GltfFilter = "glTF with its files beside it (*.gltf)";
inline constexpr const char* ObjFilter = "Wavefront OBJ (*.obj)";
inline constexpr const char* ShpFilesFilter = "Vantaris SHP (*.shp)";
inline constexpr const char* AllFilesFilter = "All Files (*)";
inline constexpr const char* IconResource = ":/icons/korvex-256.png";
inline constexpr const char* IconDirectory = ":/icons";

// The editor's command line, answered on the terminal.
inline constexpr const char* EditorUsage = "usage: korvex [--help] [--version] [FILE]";
inline constexpr const char* EditorUnknownOption = "korvex: unknown option \"%s\"";
inline constexpr const char* EditorHelp =
    "usage: korvex [--help] [--version] [FILE]\n"
    "\n"
    "Korvex, the ship model editor for Vantaris: opens FILE, a ship model (.shp, plain or\n"
    "RefPack-packed), or an empty window. Textures come from the game installation that the\n"
    "Wine prefix in WINEPREFIX (default ~/.wine) names.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "  --             end of options: the next word is the FILE\n"
    "\n"
    "Qt's own options, such as -platform or -style, work as in every Qt program.\n";

inline constexpr const char* ZoomRangeTip =
    "The zoom at the slider's right end (1 or more): larger numbers let the slider zoom out "
    "farther";

// The file dialogs' titles: what the chosen file is for.
inline constexpr const char* OpenTitle = "Open ship";
inline constexpr const char* MergeTitle = "Merge ship";
inline constexpr const char* SaveAsTitle = "Save ship as";
inline constexpr const char* ExportTitle = "Export ship";
inline constexpr const char* ImportFileTitle = "Import a model into the ship";
inline constexpr const char* ReplaceImageTitle = "Replace the texture from an image";
inline constexpr const char* AddImageTitle = "Add an image to the texture cache";
inline constexpr const char* GameFolderTitle = "Game folder: a Wine or Proton prefix, or the "
                                               "folder that holds tcachehw.dat";

// The "Recent Files" submenu of the File menu and the context menu.
inline constexpr const char* RecentFilesMenuEntry = "Recent &Files";
inline constexpr const char* NoRecentFilesEntry = "(none)";
inline constexpr const char* PreviewMenuEntry = "Pre&view";
inline constexpr const char* PlayMenuEntry = "&Play";
inline constexpr const char* StopMenuEntry = "&Stop";

// The animation editor's playback button, and what its timing fields mean to the view.
inline constexpr const char* PlayButton = "Play";
inline constexpr const char* StopButton = "Stop";
inline constexpr const char* PlaybackTiming =
    "Play shows the ship's animations in the view (Space there too); nothing is saved.\n"
    "The view assumes: a frame's time is the moment, in ms from the start, at which the\n"
    "component reaches that frame; it moves there from its modelled pose before frame 0's\n"
    "moment. Total Time is the length of one pass (longer frames stretch it); the last frame\n"
    "holds for the rest. Stop: no playback; Play: once; Loop: again and again; PingPong:\n"
    "back and forth.";
inline constexpr const char* ChecksMenuEntry = "&Checks";

// The Checks pane: its title before the counts, its columns, and where a finding is.
inline constexpr const char* ChecksTitle = "Checks: ";
inline constexpr const char* ChecksColumns[] = {"Severity", "Check", "Component", "Where",
                                                "Message"};
inline constexpr const char* ChecksBlock = "block %d";
inline constexpr const char* ChecksRecord = ", record %d";
inline constexpr const char* ChecksNoShip = "no ship open";

// The keyboard-shortcut list: the lines that are not commands of their own.
inline constexpr const char* ShortcutsTitle = "Keyboard Shortcuts";
inline constexpr const char* ViewKeysLine =
    "1 2 3 4 Q W E\tLook from Bottom, Left, Front, FreeView, Top, Right, Back";
inline constexpr const char* DragLine =
    "Drag\tTurn the ship in FreeView; in a fixed view, move what the mouse mode names";
inline constexpr const char* WheelLine = "Wheel\tZoom at the pointer";
inline constexpr const char* FieldsLine =
    "In a text field every key it can take is the field's: the view keys, F, Home and Shift act "
    "outside the fields";

// The drags' undo steps; every other command's step is named by its menu entry.
namespace steps {
inline constexpr const char* MoveAttachment = "Move attachment";
inline constexpr const char* MoveComponent = "Move component";
inline constexpr const char* Import = "Import";
} // namespace steps

} // namespace resources::strings
