#pragma once

#include "platform/DialogTemplate.h"

// The main window's layout and the ids of its controls.
namespace resources {

namespace mainwindow {
inline constexpr int Save = 1;
inline constexpr int Exit = 2;
inline constexpr int AttachmentList = 1000;
inline constexpr int AddAttachment = 1001;
inline constexpr int ComponentList = 1002;
inline constexpr int RemoveAttachment = 1003;
inline constexpr int ViewChoice = 1005;
inline constexpr int OpenShp = 1006;
inline constexpr int ZoomSlider = 1012;
inline constexpr int TextureMap = 1014;
inline constexpr int ShipGroup = 1015;
inline constexpr int HighQualityTextures = 1016;
inline constexpr int MarkSelected = 1017;
inline constexpr int CenterOnObject = 1019;
inline constexpr int IgnoreDest = 1021;
inline constexpr int ZoomRange = 1022;
inline constexpr int ScaleFactor = 1023;
inline constexpr int Larger = 1024;
inline constexpr int Smaller = 1025;
inline constexpr int CreateBox = 1026;
inline constexpr int ClearBoxes = 1027;
inline constexpr int ShowBoxes = 1028;
inline constexpr int CopyInvertX = 1029;
inline constexpr int CopyAttachment = 1030;
inline constexpr int NearestPosition = 1031;
inline constexpr int Rotate = 1032;
inline constexpr int Back = 1033;
inline constexpr int ChangeShipClass = 1035;
inline constexpr int ShipClass = 1036;
inline constexpr int MouseMode = 1041;
inline constexpr int TypeOneOnly = 1042;
inline constexpr int Flames = 1043;
inline constexpr int DeleteComponent = 1049;
inline constexpr int MergeShp = 1050;
inline constexpr int Animation = 1056;
inline constexpr int DummyTriangle = 1059;
inline constexpr int Block13 = 1060;
inline constexpr int Block14 = 1061;
inline constexpr int Preview = 1062;
} // namespace mainwindow

/// The main window: every control with its id, kind, label and place, then the group boxes
/// and labels that frame them.
extern const platform::DialogTemplate MainWindowTemplate;

} // namespace resources
