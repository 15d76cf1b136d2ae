#pragma once

// The string table: texts of menus, file dialogs and resources that are not message boxes.
namespace resources::strings {

inline constexpr const char* AboutMenuEntry = "&About Korvex...";
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

} // namespace resources::strings
