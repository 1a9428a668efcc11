#include "services/graphics/ManagerWindow.h"

#include <epoxy/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "engine/MessageFrame.h"
#include "engine/MessageId.h"
#include "engine/MessageQuit.h"
#include "engine/MessageSpriteRender.h"
#include "engine/MessageTrigger.h"
#include "services/graphics/DisplayCheck.h"
#include "services/graphics/GLBackend.h"
#include "services/graphics/GamepadMapping.h"
#include "services/graphics/Input.h"
#include "services/graphics/MessageCamera.h"
#include "services/graphics/SpriteBatcher.h"
#include "services/graphics/TextureFile.h"

namespace {

// GLFW reports errors through a global callback; the latest one explains a failed call.
std::string lastGlfwError;

void OnGlfwError(int, const char* description) {
    lastGlfwError = description ? description : "";
}

std::string TakeGlfwError() {
    std::string text = lastGlfwError.empty() ? "unknown reason" : lastGlfwError;
    lastGlfwError.clear();
    return text;
}

// The pad's reading is copied index for index.
static_assert(graphics::GamepadState::DpadLeft == GLFW_GAMEPAD_BUTTON_DPAD_LEFT &&
              graphics::GamepadState::kButtonCount == GLFW_GAMEPAD_BUTTON_LAST + 1);
static_assert(graphics::GamepadState::RightTrigger == GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER &&
              graphics::GamepadState::kAxisCount == GLFW_GAMEPAD_AXIS_LAST + 1);

/// The first connected joystick that has a standard gamepad layout, if any.
bool ReadGamepad(graphics::GamepadState& state) {
    for (int joystick = GLFW_JOYSTICK_1; joystick <= GLFW_JOYSTICK_LAST; ++joystick) {
        GLFWgamepadstate reading;
        if (!glfwJoystickIsGamepad(joystick) || !glfwGetGamepadState(joystick, &reading)) {
            continue;
        }
        for (int i = 0; i < graphics::GamepadState::kButtonCount; ++i) {
            state.buttons[i] = reading.buttons[i] == GLFW_PRESS;
        }
        for (int i = 0; i < graphics::GamepadState::kAxisCount; ++i) {
            state.axes[i] = reading.axes[i];
        }
        return true;
    }
    return false;
}

}  // namespace

struct ManagerWindow::Impl {
    GLFWwindow* window = nullptr;
    float aspect = 16.0f / 9.0f;
    std::unique_ptr<graphics::GLBackend> backend;
    std::unique_ptr<graphics::SpriteBatcher> batcher;
    std::vector<graphics::InputEvent> events;
    graphics::DebugMode debug;
    graphics::GamepadMapping gamepad;
    std::thread::id mainThread = std::this_thread::get_id();
    bool quitSent = false;
    bool fullscreen = false;
    int windowedX = 0, windowedY = 0, windowedWidth = 0, windowedHeight = 0;
    std::size_t lastDrawCalls = 0;
    bool liveInput = true;

    static Impl& From(GLFWwindow* window) {
        return *static_cast<Impl*>(glfwGetWindowUserPointer(window));
    }

    void SetFullscreen(bool on) {
        if (on == fullscreen) return;
        if (on) {
            GLFWmonitor* monitor = glfwGetPrimaryMonitor();
            if (!monitor) return;
            const GLFWvidmode* mode = glfwGetVideoMode(monitor);
            glfwGetWindowPos(window, &windowedX, &windowedY);
            glfwGetWindowSize(window, &windowedWidth, &windowedHeight);
            glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height,
                                 mode->refreshRate);
        } else {
            glfwSetWindowMonitor(window, nullptr, windowedX, windowedY, windowedWidth,
                                 windowedHeight, 0);
        }
        fullscreen = on;
    }
};

ManagerWindow::ManagerWindow(std::string_view title, float aspect, const WindowOptions& options)
    : impl(std::make_unique<Impl>()) {
    impl->aspect = aspect > 0.0f ? aspect : 16.0f / 9.0f;
    impl->liveInput = options.liveInput;
    if (const char* missing = graphics::MissingDisplay()) {
        throw std::runtime_error(std::string("no display: ") + missing);
    }
    glfwSetErrorCallback(OnGlfwError);
    if (!glfwInit()) throw std::runtime_error("no display: " + TakeGlfwError());

    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_FORWARD_COMPAT, GLFW_TRUE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    const std::string titleText(title);
    impl->window =
        glfwCreateWindow(options.width, options.height, titleText.c_str(), nullptr, nullptr);
    if (!impl->window) {
        const std::string reason = TakeGlfwError();
        glfwTerminate();
        throw std::runtime_error("cannot open an OpenGL 3.3 window: " + reason);
    }
    glfwMakeContextCurrent(impl->window);
    glfwSwapInterval(options.vsync ? 1 : 0);
    glfwSetWindowUserPointer(impl->window, impl.get());

    glfwSetKeyCallback(impl->window, [](GLFWwindow* w, int key, int, int action, int mods) {
        Impl::From(w).events.push_back({graphics::InputEvent::Kind::Key, key, action, mods, {}});
    });
    glfwSetMouseButtonCallback(impl->window, [](GLFWwindow* w, int button, int action, int mods) {
        Impl::From(w).events.push_back(
            {graphics::InputEvent::Kind::MouseButton, button, action, mods, {}});
    });
    glfwSetScrollCallback(impl->window, [](GLFWwindow* w, double x, double y) {
        Impl::From(w).events.push_back({graphics::InputEvent::Kind::Scroll, 0, 0, 0,
                                        glm::vec2(static_cast<float>(x), static_cast<float>(y))});
    });
    glfwSetWindowFocusCallback(impl->window, [](GLFWwindow* w, int focused) {
        Impl::From(w).events.push_back(
            {graphics::InputEvent::Kind::Focus, focused ? 1 : 0, 0, 0, {}});
    });

    try {
        impl->backend = std::make_unique<graphics::GLBackend>();
    } catch (...) {
        glfwDestroyWindow(impl->window);
        glfwTerminate();
        throw;
    }
    impl->batcher = std::make_unique<graphics::SpriteBatcher>(
        *impl->backend, graphics::LoadTextureFile,
        [](const std::string& text) { std::cerr << "Halvex: warning: " << text << std::endl; },
        graphics::TextureFileStamp);
}

ManagerWindow::~ManagerWindow() {
    if (!impl->window) return;
    impl->batcher.reset();
    impl->backend.reset();
    glfwDestroyWindow(impl->window);
    glfwTerminate();
}

void ManagerWindow::OnTrigger(const MessageTrigger& trigger) {
    if (trigger.name == kFullscreenTrigger) {
        impl->SetFullscreen(trigger.value);
    } else if (trigger.name == kToggleFullscreenTrigger && trigger.value) {
        SendMessage(MessageTrigger(kFullscreenTrigger, !impl->fullscreen));
    }
}

bool ManagerWindow::IsFullscreen() const {
    return impl->fullscreen;
}

std::size_t ManagerWindow::LastDrawCalls() const {
    return impl->lastDrawCalls;
}

bool ManagerWindow::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Trigger:
            if (std::this_thread::get_id() != impl->mainThread) return false;
            OnTrigger(static_cast<const MessageTrigger&>(message));
            return false;
        case MessageId::SpriteRender:
        case MessageId::SpriteRenderBatch:
        case MessageId::ServiceHighRateA:
        case MessageId::ContentReloaded:
        case MessageId::Render:
            // Only the main thread owns the context; loader threads never draw.
            if (std::this_thread::get_id() != impl->mainThread) return false;
            break;
        default:
            return false;
    }
    switch (message.TypeId()) {
        case MessageId::SpriteRender: {
            auto& render = static_cast<const MessageSpriteRender&>(message);
            impl->batcher->Submit(render.sprite, render.transform);
            return false;
        }
        case MessageId::SpriteRenderBatch: {
            auto& batch = static_cast<const MessageSpriteRenderBatch&>(message);
            impl->batcher->SubmitBatch(batch.sprite, batch.transforms, batch.colors, batch.frames);
            return false;
        }
        case MessageId::ContentReloaded:
            impl->batcher->ReloadChanged();
            return false;
        case MessageId::ServiceHighRateA: {
            if (auto* camera = MessageAs<graphics::MessageCamera>(message)) {
                impl->batcher->AddCamera(camera->camera);
            }
            return false;
        }
        default:
            break;
    }

    // MessageRender: every system has drawn; show the frame, then gather input.
    GLFWwindow* window = impl->window;
    int framebufferWidth = 0, framebufferHeight = 0;
    glfwGetFramebufferSize(window, &framebufferWidth, &framebufferHeight);
    const graphics::Letterbox picture =
        graphics::FitAspect(framebufferWidth, framebufferHeight, impl->aspect);
    glViewport(0, 0, framebufferWidth, framebufferHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(picture.x, picture.y, picture.width, picture.height);
    impl->lastDrawCalls = impl->batcher->Flush(impl->aspect);
    glfwSwapBuffers(window);

    impl->events.clear();
    glfwPollEvents();
    // Handlers may send further messages, so the queue is taken before dispatching.
    std::vector<graphics::InputEvent> events;
    events.swap(impl->events);
    auto mouseInPicture = [&] {
        double cursorX = 0.0, cursorY = 0.0;
        glfwGetCursorPos(window, &cursorX, &cursorY);
        int windowWidth = 0, windowHeight = 0;
        glfwGetWindowSize(window, &windowWidth, &windowHeight);
        const graphics::Letterbox windowPicture =
            graphics::FitAspect(windowWidth, windowHeight, impl->aspect);
        return graphics::WindowToNdc(
            glm::vec2(static_cast<float>(cursorX), static_cast<float>(cursorY)), windowPicture);
    };
    bool cursorSent = false;
    for (const graphics::InputEvent& event : events) {
        if (impl->liveInput && !cursorSent &&
            event.kind == graphics::InputEvent::Kind::MouseButton) {
            // A click acts where the pointer is now: a move and a click within one frame would
            // otherwise reach the menus with last frame's cursor.
            cursorSent = true;
            graphics::SendCursor(graphics::ComputeCursor(impl->batcher->LastCameras(), impl->aspect,
                                                         mouseInPicture()),
                                 SendMessage);
        }
        if (event.kind == graphics::InputEvent::Kind::Key && event.code == GLFW_KEY_F11 &&
            event.action == GLFW_PRESS) {
            // Announced in play, so that whoever keeps the player's choice hears it; a
            // played-back recording keeps the bus to its own input.
            if (impl->liveInput) {
                SendMessage(MessageTrigger(kFullscreenTrigger, !impl->fullscreen));
            } else {
                impl->SetFullscreen(!impl->fullscreen);
            }
        }
        if (impl->liveInput) graphics::DispatchInput(event, impl->debug, SendMessage);
    }

    if (!impl->liveInput) {
        if (glfwWindowShouldClose(window) && !impl->quitSent) {
            impl->quitSent = true;
            SendMessage(MessageQuit());
        }
        return false;
    }
    const glm::vec2 mouse = mouseInPicture();
    // The pad speaks as keys and the cursor, after the window's own events of the frame.
    graphics::GamepadState pad;
    const bool padConnected = ReadGamepad(pad);
    const graphics::GamepadFrame padFrame =
        impl->gamepad.Update(padConnected ? &pad : nullptr, mouse, impl->aspect);
    for (const graphics::InputEvent& event : padFrame.keys) {
        graphics::DispatchInput(event, impl->debug, SendMessage);
    }
    graphics::SendCursor(
        graphics::ComputeCursor(impl->batcher->LastCameras(), impl->aspect, padFrame.cursor),
        SendMessage);

    if (glfwWindowShouldClose(window) && !impl->quitSent) {
        impl->quitSent = true;
        SendMessage(MessageQuit());
    }
    return false;
}
