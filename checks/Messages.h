#pragma once

#include <string_view>

// The checks' names and sentences. A name is what scripts and mod-pack CI match on: once
// released it never changes. Each "%d" and "%s" is filled in order.
namespace checks::messages {

// Errors: the game may crash or refuse the ship.
inline constexpr std::string_view FileTruncated = "file-truncated";
inline constexpr std::string_view FileStart = "file-start";
inline constexpr std::string_view ComponentCount = "component-count";
inline constexpr std::string_view MissingAttachmentBlock = "missing-attachment-block";
inline constexpr std::string_view MissingGeometry = "missing-geometry";
inline constexpr std::string_view RecordSize = "record-size";
inline constexpr std::string_view FaceVertexRange = "face-vertex-range";
inline constexpr std::string_view FaceTextureRange = "face-texture-range";
inline constexpr std::string_view NonFinite = "non-finite";
inline constexpr std::string_view FramesWithoutHeader = "frames-without-header";
inline constexpr std::string_view Block14Unpaired = "block14-unpaired";
inline constexpr std::string_view Block13Count = "block13-count";

// Warnings: the game loads the ship but shows or plays it wrong.
inline constexpr std::string_view TextureMissing = "texture-missing";
inline constexpr std::string_view DegenerateFace = "degenerate-face";
inline constexpr std::string_view NormalLength = "normal-length";
inline constexpr std::string_view AttachmentKind = "attachment-kind";
inline constexpr std::string_view AttachmentModel = "attachment-model";
inline constexpr std::string_view AttachmentFar = "attachment-far";
inline constexpr std::string_view AttachmentMatrix = "attachment-matrix";
inline constexpr std::string_view BoxNotEnclosing = "box-not-enclosing";
inline constexpr std::string_view VertexUnused = "vertex-unused";
inline constexpr std::string_view ComponentName = "component-name";

inline constexpr std::string_view TruncatedText =
    "The file ends in the middle of block %d: that block and everything after it are missing.";
inline constexpr std::string_view FileStartText =
    "The file does not start with a ship header (type 0) and a component table (type 1).";
inline constexpr std::string_view ComponentCountText =
    "The component table lists %d components, but the file has %d sections (type-2 blocks).";
inline constexpr std::string_view MissingAttachmentText =
    "The section has no type-9 block; every component needs one, even an empty one.";
inline constexpr std::string_view MissingVerticesText = "The section has no vertex block (type 4).";
inline constexpr std::string_view MissingFacesText = "The section has no face block (type 3).";
inline constexpr std::string_view RecordSizeText =
    "Type-%d records are %d bytes long, too short for the %d bytes the editor reads.";
inline constexpr std::string_view FaceVertexText =
    "Face %d names vertex %d, but the vertex block holds %d vertices.";
inline constexpr std::string_view FaceTextureText =
    "Face %d uses texture %d, but the section names %d textures.";
inline constexpr std::string_view NonFiniteOriginText =
    "The component's origin is not a finite number.";
inline constexpr std::string_view NonFiniteVertexText =
    "Vertex %d has a coordinate that is not a finite number.";
inline constexpr std::string_view NonFiniteFaceText =
    "Face %d has a texture coordinate or normal that is not a finite number.";
inline constexpr std::string_view NonFiniteAttachmentText =
    "Attachment %d has a position, orientation or size that is not a finite number.";
inline constexpr std::string_view NonFiniteBoxText =
    "Box %d has an orientation, size or centre that is not a finite number.";
inline constexpr std::string_view NonFiniteFrameText =
    "Animation frame %d has a rotation or move that is not a finite number.";
inline constexpr std::string_view FramesWithoutHeaderText =
    "The section has animation frames (type 11) but no animation header (type 10).";
inline constexpr std::string_view Block14UnpairedText =
    "A type-14 block stands without its partner: Block14 comes as two adjacent blocks.";
inline constexpr std::string_view Block13CountText =
    "The type-13 block holds %d records: Block13 holds 0 (off) or 2 (on).";

inline constexpr std::string_view TextureMissingText = "The texture cache has no texture \"%s\".";
inline constexpr std::string_view DegenerateFaceText =
    "Face %d has no area: its corners lie on one line.";
inline constexpr std::string_view NormalLengthText =
    "Face %d has a normal of length %s; a normal is 1 long, or 0.";
inline constexpr std::string_view AttachmentKindText =
    "Attachment %d is of kind %d, which the game does not know (kinds 0 to 4).";
inline constexpr std::string_view AttachmentModelText =
    "Attachment %d names model or colour %d, which its kind does not have.";
inline constexpr std::string_view AttachmentFarText =
    "Attachment %d lies far outside its component.";
inline constexpr std::string_view AttachmentMatrixText =
    "Attachment %d has an orientation that is not a rotation.";
inline constexpr std::string_view BoxNotEnclosingText =
    "Box %d leaves %d of the component's vertices outside.";
inline constexpr std::string_view VertexUnusedText =
    "%d vertices belong to no face (the first is vertex %d).";
inline constexpr std::string_view NameTooLongText =
    "The name has %d characters; the properties dialog keeps 50.";
inline constexpr std::string_view NameCharactersText =
    "The name holds characters outside printable ASCII.";
inline constexpr std::string_view MoreLikeThisText =
    "%d more records of this block have the same fault.";

// The counts, as the status bar and the command line's last line show them.
inline constexpr std::string_view OneError = "1 error";
inline constexpr std::string_view Errors = "%d errors";
inline constexpr std::string_view OneWarning = "1 warning";
inline constexpr std::string_view Warnings = "%d warnings";

} // namespace checks::messages
