#pragma once

// The string table: texts of menus, file dialogs and resources that are not message boxes.
namespace resources::strings {

inline constexpr const char* AboutMenuEntry = "&About Korvex...";
inline constexpr const char* ExportMenuEntry = "&Export...";
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

// The window's context menu. The undo and redo entries add the name of their step.
inline constexpr const char* UndoMenuEntry = "&Undo";
inline constexpr const char* RedoMenuEntry = "&Redo";
inline constexpr const char* OpenMenuEntry = "&Open SHP File...";
inline constexpr const char* SaveMenuEntry = "&Save";
inline constexpr const char* SaveAsMenuEntry = "Save &As...";
inline constexpr const char* RecentFilesMenuEntry = "Recent &Files";
inline constexpr const char* NoRecentFilesEntry = "(none)";
inline constexpr const char* ChecksMenuEntry = "&Checks";

// The Checks pane: its title before the counts, its columns, and where a finding is.
inline constexpr const char* ChecksTitle = "Checks: ";
inline constexpr const char* ChecksColumns[] = {"Severity", "Check", "Component", "Where",
                                                "Message"};
inline constexpr const char* ChecksBlock = "block %d";
inline constexpr const char* ChecksRecord = ", record %d";
inline constexpr const char* ChecksNoShip = "no ship open";

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
inline constexpr const char* Import = "Import";
} // namespace steps

} // namespace resources::strings
