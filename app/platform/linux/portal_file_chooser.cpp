#include "platform/linux/portal_file_chooser.h"

#include <gio/gio.h>
#include <unistd.h>

#include <atomic>
#include <memory>

#include "render/debug_log.h"

namespace talvoro::platform {
namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kChooserInterface = "org.freedesktop.portal.FileChooser";
constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";
// The call only registers the request; a portal that cannot even do that in time is not there.
constexpr int kCallTimeoutMs = 10000;

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct LoopUnref {
    void operator()(GMainLoop* loop) const { g_main_loop_unref(loop); }
};
struct ContextUnref {
    void operator()(GMainContext* context) const { g_main_context_unref(context); }
};
struct VariantUnref {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};

// A session bus that is there already. Without one GIO would try to launch a bus of its own
// for the X display, which a file dialog has no business doing.
bool session_bus_known() {
    const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && *address != '\0') {
        return true;
    }
    const char* runtime = g_getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') {
        return false;
    }
    const std::string socket = std::string(runtime) + "/bus";
    return g_file_test(socket.c_str(), G_FILE_TEST_EXISTS);
}

// What the Response signal brought.
struct Response {
    GMainLoop* loop = nullptr;
    bool arrived = false;
    uint32_t code = 2;
    std::string path;
};

void on_response(GDBusConnection*, const char*, const char*, const char*, const char*,
                 GVariant* parameters, gpointer data) {
    auto* response = static_cast<Response*>(data);
    GVariant* results = nullptr;
    g_variant_get(parameters, "(u@a{sv})", &response->code, &results);
    std::unique_ptr<GVariant, VariantUnref> owned(results);
    const char** uris = nullptr;
    if (response->code == 0 && g_variant_lookup(results, "uris", "^a&s", &uris) &&
        uris != nullptr && uris[0] != nullptr) {
        if (char* path = g_filename_from_uri(uris[0], nullptr, nullptr)) {
            response->path = path;
            g_free(path);
        }
    }
    g_free(uris);
    response->arrived = true;
    g_main_loop_quit(response->loop);
}

// The request object the portal will answer on: derived from our unique bus name and a token
// of ours, so we listen before asking and cannot miss a quick answer.
std::string request_path(GDBusConnection* bus, const std::string& token) {
    std::string sender = g_dbus_connection_get_unique_name(bus) + 1;  // without the ':'
    for (char& c : sender) {
        if (c == '.') {
            c = '_';
        }
    }
    return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

GVariant* filter_variant(const std::string& name, const std::vector<std::string>& patterns) {
    GVariantBuilder globs;
    g_variant_builder_init(&globs, G_VARIANT_TYPE("a(us)"));
    for (const std::string& pattern : patterns) {
        g_variant_builder_add(&globs, "(us)", 0u, pattern.c_str());
    }
    if (patterns.empty()) {
        g_variant_builder_add(&globs, "(us)", 0u, "*");
    }
    return g_variant_new("(s@a(us))", name.c_str(), g_variant_builder_end(&globs));
}

// For SaveFile the portal's chooser asks before replacing a file that exists (GTK's and KDE's
// alike); SaveFile has no option to turn that off, and none of ours names the file as chosen
// already ("current_file"), so the question is always the chooser's to ask.
GVariant* options_variant(const FileDialogRequest& request, const std::string& token) {
    const bool save = request.mode == FileDialogRequest::Mode::kSave;
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "modal", g_variant_new_boolean(TRUE));
    GVariantBuilder filters;
    g_variant_builder_init(&filters, G_VARIANT_TYPE("a(sa(us))"));
    const std::string name = request.filter_name.empty() ? "Files" : request.filter_name;
    GVariant* first = filter_variant(name, request.patterns);
    g_variant_builder_add_value(&filters, first);
    if (request.offer_all_files && !request.patterns.empty()) {
        g_variant_builder_add_value(&filters, filter_variant(ui::kAllFilesFilterName, {}));
    }
    g_variant_builder_add(&options, "{sv}", "filters", g_variant_builder_end(&filters));
    g_variant_builder_add(&options, "{sv}", "current_filter",
                          filter_variant(name, request.patterns));
    // The initial path: a folder, or a folder and a suggested name.
    const std::string& initial = request.initial_path;
    std::string folder = initial;
    std::string file_name;
    if (!g_file_test(initial.c_str(), G_FILE_TEST_IS_DIR)) {
        const size_t slash = initial.rfind('/');
        folder = slash == std::string::npos ? std::string() : initial.substr(0, slash + 1);
        file_name = slash == std::string::npos ? initial : initial.substr(slash + 1);
    }
    if (!folder.empty() && g_file_test(folder.c_str(), G_FILE_TEST_IS_DIR)) {
        // A NUL-terminated byte string, as file names are not always UTF-8.
        g_variant_builder_add(&options, "{sv}", "current_folder",
                              g_variant_new_bytestring(folder.c_str()));
    }
    if (save && !file_name.empty()) {
        g_variant_builder_add(&options, "{sv}", "current_name",
                              g_variant_new_string(file_name.c_str()));
    }
    return g_variant_builder_end(&options);
}

}  // namespace

PortalAnswer run_portal_file_chooser(const FileDialogRequest& request,
                                     const std::string& parent_window) {
    static std::atomic<unsigned> serial{0};
    PortalAnswer answer;
    if (!session_bus_known()) {
        return answer;
    }
    // A context of our own: this runs on a worker thread while the UI thread paints.
    std::unique_ptr<GMainContext, ContextUnref> context(g_main_context_new());
    g_main_context_push_thread_default(context.get());
    GError* error = nullptr;
    std::unique_ptr<GDBusConnection, ObjectUnref> bus(
        g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
    if (!bus) {
        ui::debug_log(std::string("file chooser portal: no session bus: ") +
                      (error != nullptr ? error->message : "?"));
        g_clear_error(&error);
        g_main_context_pop_thread_default(context.get());
        return answer;
    }
    const std::string token = "talvoro" + std::to_string(getpid()) + "_" + std::to_string(++serial);
    const std::string handle = request_path(bus.get(), token);
    std::unique_ptr<GMainLoop, LoopUnref> loop(g_main_loop_new(context.get(), FALSE));
    Response response;
    response.loop = loop.get();
    auto listen_on = [&](const std::string& path) {
        return g_dbus_connection_signal_subscribe(bus.get(), nullptr, kRequestInterface, "Response",
                                                  path.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                                                  on_response, &response, nullptr);
    };
    guint subscription = listen_on(handle);

    const bool save = request.mode == FileDialogRequest::Mode::kSave;
    const std::string title = !request.title.empty() ? request.title : save ? "Save As" : "Open";
    GVariant* reply = g_dbus_connection_call_sync(
        bus.get(), kPortalName, kPortalPath, kChooserInterface, save ? "SaveFile" : "OpenFile",
        g_variant_new("(ss@a{sv})", parent_window.c_str(), title.c_str(),
                      options_variant(request, token)),
        G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, &error);
    if (reply == nullptr) {
        ui::debug_log(std::string("file chooser portal: ") +
                      (error != nullptr ? error->message : "no answer"));
        g_clear_error(&error);
    } else {
        const char* returned = nullptr;
        g_variant_get(reply, "(&o)", &returned);
        const std::string answered_at = returned != nullptr ? returned : handle;
        g_variant_unref(reply);
        if (answered_at != handle) {
            // An old portal chose the request path itself; it answers there.
            g_dbus_connection_signal_unsubscribe(bus.get(), subscription);
            subscription = listen_on(answered_at);
        }
        // A portal that goes away while the user chooses would leave us waiting for ever.
        // Watched only now: before the call it may not have been started yet.
        const guint watch = g_bus_watch_name_on_connection(
            bus.get(), kPortalName, G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
            [](GDBusConnection*, const char*, gpointer data) {
                auto* waiting = static_cast<Response*>(data);
                if (!waiting->arrived) {
                    g_main_loop_quit(waiting->loop);
                }
            },
            &response, nullptr);
        if (!response.arrived) {
            g_main_loop_run(loop.get());
        }
        g_bus_unwatch_name(watch);
        if (!response.arrived) {
            ui::debug_log("file chooser portal: went away without an answer");
        } else if (response.code == 0 && !response.path.empty()) {
            answer = PortalAnswer{PortalAnswer::Outcome::kChosen, response.path};
        } else if (response.code == 0 || response.code == 1) {
            // Cancelled, or a choice that is no local file and so of no use here.
            answer.outcome = PortalAnswer::Outcome::kCancelled;
        }
    }
    g_dbus_connection_signal_unsubscribe(bus.get(), subscription);
    g_main_context_pop_thread_default(context.get());
    return answer;
}

}  // namespace talvoro::platform
