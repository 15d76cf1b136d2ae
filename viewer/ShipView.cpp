#include "viewer/ShipView.h"

#include "shipfile/CaseInsensitive.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/MessageSink.h"
#include "shipfile/Messages.h"
#include "shipfile/ShipFile.h"
#include "viewer/AnimationPose.h"
#include "viewer/Highlight.h"
#include "viewer/Messages.h"
#include "viewer/PreviewDraw.h"
#include "viewer/TextureCache.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>
#include <vector>

namespace viewer {

namespace lay = shipfile::layout;
using shipfile::Bytes;
using shipfile::ShipBlock;
using shipfile::ShipFile;
using shipfile::Vec3;

namespace {
constexpr float MarkerHalfSize = ShipView::MarkerHalfSize;
constexpr std::size_t PositionBytes = 3 * sizeof(float);

struct Colour
{
    float r, g, b;
    friend bool operator==(const Colour&, const Colour&) = default;
};
constexpr Colour White{1.0f, 1.0f, 1.0f};
constexpr Colour Black{0.0f, 0.0f, 0.0f};
constexpr Colour SelectedTint{1.0f, 0.3f, 0.3f};
constexpr Colour TextureTint{1.0f, 0.75f, 0.1f};    // faces of the texture the browser selected
constexpr Colour HighlightColour{0.0f, 1.0f, 1.0f}; // what a finding is about

constexpr Colour Red{1.0f, 0.0f, 0.0f};

Colour markerColour(std::int32_t kind)
{
    switch (static_cast<lay::AttachmentKind>(kind)) {
    case lay::AttachmentKind::MissileMount:
        return {1.0f, 1.0f, 0.0f};
    case lay::AttachmentKind::GunObject:
    case lay::AttachmentKind::Gun:
        return {0.0f, 0.0f, 1.0f};
    case lay::AttachmentKind::EngineFlame:
        return Red;
    case lay::AttachmentKind::BlinkingLight:
        return {1.0f, 0.0f, 1.0f};
    }
    return Red; // a kind the game does not know
}

// One corner of a batched triangle: texture coordinate, then position.
struct BatchVertex
{
    float u, v;
    float x, y, z;
};

// The GL state that changes from face to face, sent to the driver only when it differs.
// Consecutive textured or filled faces that need no change between them are collected and sent
// as one vertex array of independent triangles, which draws exactly what one primitive per face
// draws, in the same order. Every draw ends with culling off and texturing on.
class DrawState
{
public:
    DrawState()
    {
        glDisable(GL_CULL_FACE);
        glFrontFace(GL_CCW);
        glCullFace(GL_BACK);
        glEnable(GL_TEXTURE_2D);
        glColor4f(White.r, White.g, White.b, 1.0f);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    ~DrawState()
    {
        endTriangles();
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_CULL_FACE);
        glEnable(GL_TEXTURE_2D);
    }
    DrawState(const DrawState&) = delete;
    DrawState& operator=(const DrawState&) = delete;

    /// Adds a triangle to the open batch.
    void triangle(const std::array<BatchVertex, 3>& corners)
    {
        m_batch.insert(m_batch.end(), corners.begin(), corners.end());
    }
    /// Sends the open batch. Every state change and every other primitive comes after this.
    void endTriangles()
    {
        if (m_batch.empty())
            return;
        glTexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &m_batch.front().u);
        glVertexPointer(3, GL_FLOAT, sizeof(BatchVertex), &m_batch.front().x);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(m_batch.size()));
        m_batch.clear();
    }

    void culling(bool on, GLenum face = GL_BACK)
    {
        if (on != m_culling) {
            endTriangles();
            on ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
        }
        if (on && face != m_cullFace) {
            endTriangles();
            glCullFace(face);
            m_cullFace = face;
        }
        m_culling = on;
    }
    void texturing(bool on)
    {
        if (on != m_texturing) {
            endTriangles();
            on ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        }
        m_texturing = on;
    }
    void colour(Colour c)
    {
        if (c != m_colour) {
            endTriangles();
            glColor4f(c.r, c.g, c.b, 1.0f);
        }
        m_colour = c;
    }
    bool isBound(GLuint id) const { return m_bound && *m_bound == id; }
    void bound(GLuint id) { m_bound = id; }
    void forgetBinding() { m_bound.reset(); }

private:
    std::vector<BatchVertex> m_batch;
    bool m_culling = false;
    GLenum m_cullFace = GL_BACK;
    bool m_texturing = true;
    Colour m_colour = White;
    std::optional<GLuint> m_bound; // unknown until the draw binds one
};

// One component's faces, vertices and texture names, drawn face by face.
class FacePainter
{
public:
    FacePainter(ShipView& view, TextureCache& textures, shipfile::MessageSink& sink,
                DrawState& state)
        : m_view(view), m_textures(textures), m_sink(sink), m_state(state)
    {
    }

    /// Paints the faces of `parts`, which has a face and a vertex block; faces whose texture
    /// is named `highlighted` are tinted.
    void paint(const shipfile::ComponentParts& parts, bool marked, std::string_view highlighted)
    {
        const ShipBlock& faces = *parts.faces;
        m_vertexBytes = parts.vertices->records();
        m_vertexStride = parts.vertices->recordSize;
        m_vertexCount = parts.vertexCount;
        const ShipBlock* names = parts.textureNames;
        m_names = names;
        m_marked = marked;
        m_resolved.assign(names ? names->count() : 0, 0);
        m_highlighted.assign(m_resolved.size(), false);
        for (std::size_t i = 0; !highlighted.empty() && i < m_highlighted.size(); ++i)
            m_highlighted[i] = shipfile::equalsIgnoringCase(
                shipfile::readString(names->record(i), lay::texture::Name), highlighted);
        for (std::size_t i = 0; i < faces.count(); ++i)
            paintFace(faces.record(i), faces.recordSize == lay::face::RecordSize);
        m_state.endTriangles();
    }

private:
    std::optional<BatchVertex> corner(Bytes face, std::size_t index) const
    {
        const auto vertexIndex = shipfile::readU32(face, lay::face::VertexA + 4 * index);
        const auto u = shipfile::readF32(face, lay::face::U + 4 * index);
        const auto v = shipfile::readF32(face, lay::face::V + 4 * index);
        if (!vertexIndex || !u || !v || *vertexIndex >= m_vertexCount)
            return std::nullopt;
        // Every vertex record below m_vertexCount holds a whole position.
        const Bytes position = m_vertexBytes.subspan(
            *vertexIndex * m_vertexStride + lay::vertex::Position, PositionBytes);
        return BatchVertex{*u, *v, *shipfile::readF32(position, 0), *shipfile::readF32(position, 4),
                           *shipfile::readF32(position, 8)};
    }

    // A face whose vertex index lies past the vertex block is not drawn at all.
    void paintFace(Bytes face, bool hasCullSelector)
    {
        std::array<BatchVertex, 3> corners{};
        for (std::size_t i = 0; i < 3; ++i) {
            const auto c = corner(face, i);
            if (!c)
                return;
            corners[i] = *c;
        }

        if (hasCullSelector) {
            const auto selector = shipfile::readU32(face, lay::face::CullSelector);
            m_state.culling(true, selector == lay::face::CullFront ? GL_FRONT : GL_BACK);
        } else {
            m_state.culling(false);
        }

        const auto textureIndex = *shipfile::readU32(face, lay::face::TextureIndex);
        const bool highlighted = textureIndex < m_highlighted.size() && m_highlighted[textureIndex];
        if (m_view.textureMap) {
            m_state.colour(highlighted ? TextureTint : m_marked ? SelectedTint : White);
            m_state.texturing(bindTexture(textureIndex));
            m_state.triangle(corners);
            return;
        }

        // Wireframe is drawn untextured, so no texel of the last bound texture can tint or
        // hide the lines.
        m_state.colour(highlighted ? TextureTint : Black);
        m_state.texturing(false);
        if (m_marked || highlighted) {
            m_state.triangle(corners);
            return;
        }
        m_state.endTriangles();
        glBegin(GL_LINE_LOOP);
        for (const BatchVertex& c : corners)
            glVertex3f(c.x, c.y, c.z);
        glEnd();
    }

    // Binds the face's texture; false when the face has no texture record to name one, and
    // then it is drawn untextured. A failed load still draws this face textured, with
    // whatever texture is bound; the cache has switched textures off for the faces after it.
    bool bindTexture(std::uint32_t textureIndex)
    {
        if (!m_names || textureIndex >= m_resolved.size())
            return false;
        GLuint& id = m_resolved[textureIndex];
        if (id == 0 || !m_state.isBound(id))
            m_state.endTriangles();
        if (id == 0) {
            const std::string name =
                shipfile::readString(m_names->record(textureIndex), lay::texture::Name);
            id = m_textures.bind(name, m_view, m_sink);
            if (id == 0)
                m_state.forgetBinding();
            else
                m_state.bound(id);
            return true;
        }
        if (!m_state.isBound(id)) {
            m_textures.bindLoaded(id, m_view);
            m_state.bound(id);
        }
        return true;
    }

    ShipView& m_view;
    TextureCache& m_textures;
    shipfile::MessageSink& m_sink;
    DrawState& m_state;
    Bytes m_vertexBytes;
    std::size_t m_vertexStride = 0;
    std::size_t m_vertexCount = 0; // records that hold a whole position
    const ShipBlock* m_names = nullptr;
    bool m_marked = false;
    std::vector<GLuint> m_resolved;  // per texture record, 0 until bound in this component
    std::vector<bool> m_highlighted; // per texture record
};

void cubeFace(const std::array<float, 3>& p, int axis, float side, bool filled)
{
    // The four corners of the cube's face at offset `side` on `axis`, as a loop.
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    constexpr float h = MarkerHalfSize;
    const float corners[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
    if (!filled)
        glBegin(GL_LINE_LOOP);
    for (const auto& c : corners) {
        std::array<float, 3> v = p;
        v[static_cast<std::size_t>(axis)] += side;
        v[static_cast<std::size_t>(a)] += c[0];
        v[static_cast<std::size_t>(b)] += c[1];
        glVertex3f(v[0], v[1], v[2]);
    }
    if (!filled)
        glEnd();
}

// Kinds the preview shows as shapes of their own rather than cubes.
bool hasPreviewShape(std::int32_t kind)
{
    using lay::AttachmentKind;
    const auto k = static_cast<AttachmentKind>(kind);
    return k == AttachmentKind::MissileMount || k == AttachmentKind::GunObject ||
           k == AttachmentKind::Gun;
}

// Cubes at the attachment points of the current type-9 block, drawn in the centred frame, so
// the positions are scaled here and the cubes keep one size on screen at every zoom. `pose`
// places the points of a component its animation has moved.
void drawAttachmentMarkers(const ShipBlock& block, int selectedAttachment, Vec3 origin, double zoom,
                           const Matrix4& pose, bool preview, DrawState& state)
{
    const double scale = camera::shipScale(zoom);
    for (std::size_t j = 0; j < block.count(); ++j) {
        const Bytes record = block.record(j);
        const auto kind = shipfile::readI32(record, lay::attachment::Kind);
        const auto position = shipfile::readVec3(record, lay::attachment::Position);
        if (!kind || !position || (preview && hasPreviewShape(*kind)))
            continue;
        state.colour(markerColour(*kind));
        const camera::Point posed =
            camera::transform(pose, {position->x, position->y, position->z});
        const std::array<float, 3> p = {static_cast<float>((posed.x + origin.x) * scale),
                                        static_cast<float>((posed.y + origin.y) * scale),
                                        static_cast<float>((posed.z + origin.z) * scale)};
        const bool filled = static_cast<int>(j) == selectedAttachment;
        if (filled)
            glBegin(GL_QUADS);
        // Faces z = +30, z = -30, x = +30, x = -30, y = +30, y = -30.
        for (const int axis : {2, 0, 1}) {
            cubeFace(p, axis, MarkerHalfSize, filled);
            cubeFace(p, axis, -MarkerHalfSize, filled);
        }
        if (filled)
            glEnd();
    }
}

// The collision boxes of one component, in the component's own frame.
void drawBoxes(const ShipBlock& block, DrawState& state)
{
    for (std::size_t j = 0; j < block.count(); ++j) {
        const Bytes record = block.record(j);
        const auto row0 = shipfile::readVec3(record, lay::box::Matrix);
        const auto row1 = shipfile::readVec3(record, lay::box::Matrix + 12);
        const auto row2 = shipfile::readVec3(record, lay::box::Matrix + 24);
        const auto half = shipfile::readVec3(record, lay::box::HalfExtents);
        const auto centre = shipfile::readVec3(record, lay::box::Centre);
        if (!row0 || !row1 || !row2 || !half || !centre)
            continue;

        // The record holds the orientation row by row; OpenGL wants columns.
        const double rows[16] = {row0->x, row0->y, row0->z, 0.0, //
                                 row1->x, row1->y, row1->z, 0.0, //
                                 row2->x, row2->y, row2->z, 0.0, //
                                 0.0,     0.0,     0.0,     1.0};
        Matrix4 r;
        r.load(rows);
        double columns[16];
        r.storeTransposed(columns);

        glPushMatrix();
        glTranslatef(centre->x, centre->y, centre->z);
        glMultMatrixd(columns);
        state.texturing(false);
        state.colour(White);
        const double x = half->x, y = half->y, z = half->z;
        glBegin(GL_LINES);
        for (const double sx : {-x, x})
            for (const double sy : {-y, y}) {
                glVertex3d(sx, sy, -z);
                glVertex3d(sx, sy, z);
            }
        for (const double sx : {-x, x})
            for (const double sz : {-z, z}) {
                glVertex3d(sx, -y, sz);
                glVertex3d(sx, y, sz);
            }
        for (const double sy : {-y, y})
            for (const double sz : {-z, z}) {
                glVertex3d(-x, sy, sz);
                glVertex3d(x, sy, sz);
            }
        glEnd();
        glPopMatrix();
    }
}

Vec3 originOf(const ShipFile& file, int n)
{
    return shipfile::componentParts(file, n).origin;
}
} // namespace

void ShipView::initialiseGl(camera::ViewSize size, double pixelRatio)
{
    glViewport(0, 0, static_cast<GLsizei>(std::lround(size.width * pixelRatio)),
               static_cast<GLsizei>(std::lround(size.height * pixelRatio)));
    glLineWidth(static_cast<GLfloat>(std::max(1.0, std::round(pixelRatio))));
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(ShipView::BackgroundGrey, ShipView::BackgroundGrey, ShipView::BackgroundGrey,
                 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const camera::VolumeRect shown = camera::shownVolume(size);
    glOrtho(shown.left, shown.right, shown.bottom, shown.top, camera::NearPlane, camera::FarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void ShipView::setOrientation(const Matrix4& m)
{
    double elements[16];
    m.store(elements);
    orientation.load(elements);
}

bool ShipView::draw(const Scene& scene, TextureCache& textures, shipfile::MessageSink& sink)
{
    if (!scene.file)
        return false;
    const ShipFile& file = *scene.file;

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(ShipView::BackgroundGrey, ShipView::BackgroundGrey, ShipView::BackgroundGrey,
                 1.0f);

    // Held to the range the camera knows, so a stray zoom never divides by zero.
    const double frameZoom = camera::clampZoom(zoom);
    const Matrix4 cameraMatrix = camera::cameraTransform(orientation);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(cameraMatrix.data());

    const std::vector<shipfile::ComponentParts> components = shipfile::allComponentParts(file);
    const int count = static_cast<int>(components.size());
    const int selected = scene.selectedComponent >= 0 && scene.selectedComponent < count
                             ? scene.selectedComponent
                             : -1;
    const Vec3 selectedOrigin =
        selected >= 0 ? components[static_cast<std::size_t>(selected)].origin : Vec3{};
    DrawState state;
    FacePainter painter(*this, textures, sink, state);
    std::vector<PreviewComponent> previewed;

    for (const shipfile::ComponentParts& parts : components) {
        const int n = parts.index;
        // The messages go to the draw's sink so the host shows them after the frame.
        if (!parts.attachments)
            sink.show(shipfile::messages::MissingAttachmentBlock.box());
        if (!parts.faces || !parts.vertices) {
            sink.show(messages::EmptyVerticesOrFaces.box());
            glLoadMatrixd(cameraMatrix.data());
            return false;
        }

        if (centerOnObject && selected >= 0)
            center = selectedOrigin;

        // A playing animation turns and moves the component, with its markers and boxes.
        const auto pose =
            scene.playbackMs ? editing::componentPose(parts, *scene.playbackMs) : std::nullopt;
        const Matrix4 posing = pose ? poseMatrix(*pose) : Matrix4{};

        const Matrix4 centred = camera::centredFrame(cameraMatrix, center, frameZoom);
        if (n == selected && scene.selectedAttachment >= 0 && parts.attachments) {
            glLoadMatrixd(centred.data());
            state.texturing(false);
            drawAttachmentMarkers(*parts.attachments, scene.selectedAttachment, parts.origin,
                                  frameZoom, posing, preview, state);
        }

        Matrix4 frame = camera::componentFrame(centred, frameZoom, parts.origin);
        frame.multiply(posing);
        glLoadMatrixd(frame.data());
        if (showBoxes && n == selected) {
            if (parts.boxes)
                drawBoxes(*parts.boxes, state);
            else
                sink.show(shipfile::messages::MissingBoxes.box());
        }

        // Components named "...dest" are left out, but their markers and boxes stay.
        if (ignoreDest && isDestComponent(file, n))
            continue;
        painter.paint(parts, markSelected && n == selected, highlightedTexture);
        if (scene.highlight && scene.highlight->component == n) {
            state.endTriangles();
            state.texturing(false);
            state.colour(HighlightColour);
            drawHighlight(*scene.highlight, *parts.faces, *parts.vertices);
        }
        if (preview && parts.attachments)
            previewed.push_back(
                {parts.attachments, frame, n == selected ? scene.selectedAttachment : -1});
    }
    if (!previewed.empty()) {
        state.endTriangles();
        drawPreview(previewed, frameZoom, scene.blinkMs);
    }
    glLoadMatrixd(cameraMatrix.data());
    return true;
}

bool ShipView::centresOnSelection(const Scene& scene) const
{
    return scene.file && centerOnObject && scene.selectedComponent >= 0 &&
           scene.selectedComponent < shipfile::componentCount(*scene.file);
}

Vec3 ShipView::shownCenter(const Scene& scene) const
{
    return centresOnSelection(scene) ? originOf(*scene.file, scene.selectedComponent) : center;
}

} // namespace viewer
