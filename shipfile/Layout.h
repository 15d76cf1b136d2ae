#pragma once

#include <cstddef>
#include <cstdint>

// Every block type, record size and field offset of the SHP format, named once. All numbers in
// the file are little-endian; offsets are bytes from the start of one record.
namespace shipfile::layout {

// File framing: a 6-byte header (type, record size, count, each u16) before each block's
// records, and the end marker FF FF 00 00 00 00 after the last block.
inline constexpr std::size_t BlockHeaderSize = 6;
inline constexpr std::uint32_t EndMarkerType = 0xFFFF;
inline constexpr std::uint16_t PackedMagic = 0xFB10; // the bytes 10 FB

namespace type {
inline constexpr std::uint32_t Header = 0;
inline constexpr std::uint32_t Components = 1;
inline constexpr std::uint32_t SectionStart = 2;
inline constexpr std::uint32_t Faces = 3;
inline constexpr std::uint32_t Vertices = 4;
inline constexpr std::uint32_t TextureNames = 6;
inline constexpr std::uint32_t Boxes = 7;
inline constexpr std::uint32_t BoxFaceList = 8;
inline constexpr std::uint32_t Attachments = 9;
inline constexpr std::uint32_t AnimationHeader = 10;
inline constexpr std::uint32_t AnimationFrames = 11;
inline constexpr std::uint32_t Marker12 = 12;
inline constexpr std::uint32_t Block13 = 13;
inline constexpr std::uint32_t Block14 = 14;
inline constexpr std::uint32_t Marker16 = 16;
} // namespace type

// Type 0, ship header, record 0.
namespace header {
inline constexpr std::size_t ShipClass = 20; // i8
}

// Type 1, component table; the full form has 312-byte records.
namespace component {
inline constexpr std::size_t RecordSize = 312;
inline constexpr std::size_t Name = 0; // NUL-terminated
inline constexpr std::size_t NameMaxEdit = 50; // characters the properties dialog writes
inline constexpr std::size_t Role = 64; // i32
inline constexpr std::size_t Origin = 68; // 3 x f32
inline constexpr std::size_t DebrisNumber = 212; // i32
inline constexpr std::size_t DebrisFlag = 240; // u32: 48 has debris, 0 none
inline constexpr std::size_t HitPoints = 260; // i32
inline constexpr std::uint32_t HasDebrisValue = 48;
} // namespace component

// Type 3, faces.
namespace face {
inline constexpr std::size_t RecordSize = 80;
inline constexpr std::size_t TextureIndex = 0; // u32
inline constexpr std::size_t DummyMarker = 4; // u32, 23 in an added dummy triangle
inline constexpr std::uint32_t DummyMarkerValue = 23;
inline constexpr std::size_t VertexA = 12; // u32
inline constexpr std::size_t VertexB = 16;
inline constexpr std::size_t VertexC = 20;
inline constexpr std::size_t U = 24; // 3 x f32, at a, b, c
inline constexpr std::size_t V = 36; // 3 x f32
inline constexpr std::size_t Normal = 48; // 3 x f32
inline constexpr std::size_t CullSelector = 72; // u32, read only in 80-byte records
inline constexpr std::uint32_t CullFront = 3;
} // namespace face

// Type 4, vertices.
namespace vertex {
inline constexpr std::size_t RecordSize = 32;
inline constexpr std::size_t Position = 0; // 3 x f32
} // namespace vertex

// Type 6, texture names.
namespace texture {
inline constexpr std::size_t Name = 0; // NUL-terminated
}

// Type 7, boxes.
namespace box {
inline constexpr std::size_t RecordSize = 72;
inline constexpr std::size_t Unused0 = 0; // u32, 0 on creation
inline constexpr std::size_t Matrix = 4; // 9 x f32, row-major, rows at 4, 16, 28
inline constexpr std::size_t HalfExtents = 40; // 3 x f32
inline constexpr std::size_t Centre = 52; // 3 x f32
inline constexpr std::size_t Unused64 = 64; // i32, -1 on creation
inline constexpr std::size_t Unused68 = 68; // i32, -1 on creation
} // namespace box

// Type 8, box face list.
namespace boxFaceList {
inline constexpr std::size_t RecordSize = 4; // u32 face index
}

// Type 9, attached objects.
namespace attachment {
inline constexpr std::size_t RecordSize = 168;
inline constexpr std::size_t Kind = 0; // i32
inline constexpr std::size_t Position = 4; // 3 x f32
inline constexpr std::size_t Matrix = 16; // 9 x f32, rows at 16, 28, 40
inline constexpr std::size_t StyleIndex = 52; // i32
inline constexpr std::size_t Uninterpreted56 = 56; // 3 x i32, set by the templates only
inline constexpr std::size_t Size = 72; // 3 x f32
inline constexpr std::size_t Uninterpreted84 = 84; // 2 x i32, set by the templates only
// The view's preview takes a blinking light's two values at 84 as its on and off times in
// milliseconds (the template's 100 and 1,500); the game's meaning is assumed, not known.
inline constexpr std::size_t LightOnMs = Uninterpreted84; // i32
inline constexpr std::size_t LightOffMs = Uninterpreted84 + 4; // i32
inline constexpr std::size_t GunIndex = 100; // i32
inline constexpr std::size_t Uninterpreted116 = 116; // 2 x f32, set by the templates only
} // namespace attachment

enum class AttachmentKind : std::int32_t
{
    MissileMount = 0,
    GunObject = 1,
    EngineFlame = 2,
    Gun = 3,
    BlinkingLight = 4,
};
inline constexpr int AttachmentKindCount = 5;

// Type 10, animation header, record 0.
namespace animationHeader {
inline constexpr std::size_t TotalTime = 0; // i32
inline constexpr std::size_t AnimationType = 4; // i16
inline constexpr std::size_t Trigger = 6; // char[16], NUL-padded
inline constexpr std::size_t TriggerSize = 16;
inline constexpr std::size_t MinimumRecordSize = Trigger + TriggerSize; // 22
} // namespace animationHeader

// Type 11, animation frames.
namespace animationFrame {
inline constexpr std::size_t RecordSize = 28;
inline constexpr std::size_t Time = 0; // i32
inline constexpr std::size_t Rotation = 4; // 3 x f32, radians
inline constexpr std::size_t Move = 16; // 3 x f32
} // namespace animationFrame

// Type 13, "Block13": on = two u32 records 2 and 5, off = count 0.
namespace block13 {
inline constexpr std::size_t RecordSize = 4;
inline constexpr std::uint32_t OnValues[2] = {2, 5};
} // namespace block13

// Type 14, "Block14": on = two adjacent blocks, each one zero record.
namespace block14 {
inline constexpr std::size_t RecordSize = 20;
}

} // namespace shipfile::layout
