#include "viewer/OffscreenRenderer.h"

#include "viewer/MessageQueue.h"
#include "viewer/ShipView.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <array>
#include <string_view>
#include <vector>

namespace viewer {

/// An EGL display, a compatibility-profile context (the view draws with OpenGL 1.1's fixed
/// function) and a pbuffer surface of the picture's size to draw on.
struct EglTarget
{
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;

    ~EglTarget()
    {
        if (display == EGL_NO_DISPLAY)
            return;
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context != EGL_NO_CONTEXT)
            eglDestroyContext(display, context);
        if (surface != EGL_NO_SURFACE)
            eglDestroySurface(display, surface);
        // The display stays initialised: EGL shares it with every other user in the process
        // (Qt's own contexts among them), and eglTerminate would pull it from under them.
    }
};

namespace {
bool hasExtension(const char* list, std::string_view name)
{
    if (!list)
        return false;
    const std::string_view all(list);
    for (std::size_t at = all.find(name); at != std::string_view::npos;
         at = all.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        if ((at == 0 || all[at - 1] == ' ') && (end == all.size() || all[end] == ' '))
            return true;
    }
    return false;
}

// The displays worth trying, best first: Mesa's surfaceless platform needs nothing but the
// driver; a device display serves drivers without it; the default display is the last resort.
std::vector<EGLDisplay> candidateDisplays()
{
    std::vector<EGLDisplay> displays;
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay && hasExtension(client, "EGL_MESA_platform_surfaceless"))
        displays.push_back(
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
    const auto queryDevices =
        reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    if (getPlatformDisplay && queryDevices && hasExtension(client, "EGL_EXT_platform_device")) {
        EGLDeviceEXT device = nullptr;
        EGLint count = 0;
        if (queryDevices(1, &device, &count) && count > 0)
            displays.push_back(getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr));
    }
    displays.push_back(eglGetDisplay(EGL_DEFAULT_DISPLAY));
    return displays;
}

// A context and a size x size pbuffer on `display`, or nothing.
std::unique_ptr<EglTarget> targetOn(EGLDisplay display, int size)
{
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return nullptr;
    auto target = std::make_unique<EglTarget>();
    target->display = display;
    // clang-format off
    constexpr std::array<EGLint, 15> configAttributes = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
        EGL_DEPTH_SIZE, 24, EGL_NONE};
    // clang-format on
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(display, configAttributes.data(), &config, 1, &configs) || configs < 1)
        return nullptr;
    const std::array<EGLint, 5> surfaceAttributes = {EGL_WIDTH, size, EGL_HEIGHT, size, EGL_NONE};
    target->surface = eglCreatePbufferSurface(display, config, surfaceAttributes.data());
    if (target->surface == EGL_NO_SURFACE || !eglBindAPI(EGL_OPENGL_API))
        return nullptr;
    // No version asked: OpenGL 1.0 and up, which drivers serve with their compatibility profile.
    target->context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (target->context == EGL_NO_CONTEXT)
        return nullptr;
    return target;
}
} // namespace

OffscreenRenderer::OffscreenRenderer(int size) : m_size(size)
{
    for (const EGLDisplay display : candidateDisplays()) {
        m_target = targetOn(display, size);
        if (m_target)
            return;
    }
}

OffscreenRenderer::~OffscreenRenderer() = default;

bool OffscreenRenderer::makeCurrent()
{
    return isValid() && eglBindAPI(EGL_OPENGL_API) &&
           eglMakeCurrent(m_target->display, m_target->surface, m_target->surface,
                          m_target->context);
}

void OffscreenRenderer::doneCurrent()
{
    if (isValid())
        eglMakeCurrent(m_target->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

bool OffscreenRenderer::render(ShipView& view, const Scene& scene, TextureCache& textures,
                               shipfile::MessageSink& sink)
{
    if (!makeCurrent())
        return false;
    MessageQueue messages;
    view.initialiseGl({m_size, m_size});
    const bool complete = view.draw(scene, textures, messages);
    if (complete) {
        // GL's rows run bottom to top; the picture's top to bottom.
        QImage frame(m_size, m_size, QImage::Format_RGBA8888);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, m_size, m_size, GL_RGBA, GL_UNSIGNED_BYTE, frame.bits());
        m_image = frame.mirrored().convertToFormat(QImage::Format_RGB32);
    }
    doneCurrent();
    messages.deliverTo(sink);
    return complete;
}

} // namespace viewer
