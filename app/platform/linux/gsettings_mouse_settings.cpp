#include "platform/linux/gsettings_mouse_settings.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <optional>

#include "platform/file_mouse_settings.h"

namespace talvoro {
namespace {

constexpr const char* kMouseSchema = "org.gnome.desktop.peripherals.mouse";
// Older GNOME releases kept the double-click time here.
constexpr const char* kOldMouseSchema = "org.gnome.settings-daemon.peripherals.mouse";
constexpr const char* kSpeedKey = "speed";
constexpr const char* kDoubleClickKey = "double-click";

struct SourceUnref {
    void operator()(GSettingsSchemaSource* source) const { g_settings_schema_source_unref(source); }
};
struct SchemaUnref {
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};
struct KeyUnref {
    void operator()(GSettingsSchemaKey* key) const { g_settings_schema_key_unref(key); }
};
struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using SourcePtr = std::unique_ptr<GSettingsSchemaSource, SourceUnref>;
using SchemaPtr = std::unique_ptr<GSettingsSchema, SchemaUnref>;
using KeyPtr = std::unique_ptr<GSettingsSchemaKey, KeyUnref>;
using SettingsPtr = std::unique_ptr<GSettings, ObjectUnref>;
using VariantPtr = std::unique_ptr<GVariant, decltype(&g_variant_unref)>;

// The system's schemas, or those compiled in `dir`. Null when there are none
// or the folder holds no readable compiled schemas.
SourcePtr open_source(const std::string& dir) {
    if (dir.empty()) {
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        return SourcePtr(source != nullptr ? g_settings_schema_source_ref(source) : nullptr);
    }
    GError* error = nullptr;
    GSettingsSchemaSource* source =
        g_settings_schema_source_new_from_directory(dir.c_str(), nullptr, TRUE, &error);
    g_clear_error(&error);
    return SourcePtr(source);
}

// A schema that GSettings can open without aborting: installed, and with a
// fixed path (a relocatable one would need a path of ours).
SchemaPtr lookup(GSettingsSchemaSource* source, const char* id) {
    if (source == nullptr)
        return nullptr;
    SchemaPtr schema(g_settings_schema_source_lookup(source, id, TRUE));
    if (schema && g_settings_schema_get_path(schema.get()) == nullptr)
        return nullptr;
    return schema;
}

// One key of one schema, checked for its type before any use: GSettings
// aborts on a key that is missing or of another type.
class SettingKey {
  public:
    SettingKey() = default;
    SettingKey(GSettingsSchema* schema, const char* name, const GVariantType* type) {
        if (schema == nullptr || !g_settings_schema_has_key(schema, name))
            return;
        KeyPtr key(g_settings_schema_get_key(schema, name));
        if (!g_variant_type_equal(g_settings_schema_key_get_value_type(key.get()), type))
            return;
        settings_.reset(g_settings_new_full(schema, nullptr, nullptr));
        key_ = std::move(key);
        name_ = name;
    }

    bool usable() const { return settings_ != nullptr; }

    // The current value, or null when the key is not usable.
    VariantPtr get() const {
        if (!usable())
            return VariantPtr(nullptr, g_variant_unref);
        return VariantPtr(g_settings_get_value(settings_.get(), name_), g_variant_unref);
    }

    // Stores `value` (floating or not) and waits until the store has it.
    bool set(GVariant* value) {
        VariantPtr held(g_variant_ref_sink(value), g_variant_unref);
        if (!usable() || !g_settings_schema_key_range_check(key_.get(), held.get()))
            return false;
        const bool stored = g_settings_set_value(settings_.get(), name_, held.get());
        g_settings_sync();
        return stored;
    }

  private:
    SettingsPtr settings_;
    KeyPtr key_;
    const char* name_ = nullptr;
};

class GSettingsMouseSettings final : public DesktopMouseSettings {
  public:
    GSettingsMouseSettings(SettingKey speed, SettingKey double_click, const std::string& own_file)
        : speed_(std::move(speed)), double_click_(std::move(double_click)), own_file_(own_file) {}

    std::optional<int> double_click_ms() const override {
        VariantPtr value = double_click_.get();
        if (!value)
            return std::nullopt;
        return g_variant_get_int32(value.get());
    }

    // GNOME has no wheel scroll lines setting (the toolkits scroll by their
    // own step), so the program keeps them in its own file.
    std::optional<int> wheel_lines() const override { return own_file_.wheel_lines(); }

    std::optional<int> pointer_speed() const override {
        VariantPtr value = speed_.get();
        if (!value)
            return std::nullopt;
        return pointer_speed_from_gnome_speed(g_variant_get_double(value.get()));
    }

    bool set_double_click_ms(int ms) override {
        return valid_double_click_ms(ms) && double_click_.set(g_variant_new_int32(ms));
    }

    bool set_wheel_lines(int lines) override { return own_file_.set_wheel_lines(lines); }

    bool set_pointer_speed(int speed) override {
        return valid_pointer_speed(speed) &&
               speed_.set(g_variant_new_double(gnome_speed_from_pointer_speed(speed)));
    }

    const char* name() const override { return "gsettings"; }

  private:
    SettingKey speed_;
    SettingKey double_click_;
    FileMouseSettings own_file_;
};

}  // namespace

bool gsettings_mouse_schema_installed(const std::string& schema_dir) {
    SourcePtr source = open_source(schema_dir);
    return lookup(source.get(), kMouseSchema) != nullptr;
}

bool gsettings_would_forget() {
    if (g_getenv("GSETTINGS_BACKEND") != nullptr)
        return false;
    GSettingsBackend* backend = g_settings_backend_get_default();
    const bool in_memory = g_strcmp0(G_OBJECT_TYPE_NAME(backend), "GMemorySettingsBackend") == 0;
    g_object_unref(backend);
    return in_memory;
}

std::unique_ptr<DesktopMouseSettings> open_gsettings_mouse_settings(const std::string& own_file,
                                                                    const std::string& schema_dir) {
    SourcePtr source = open_source(schema_dir);
    SchemaPtr mouse = lookup(source.get(), kMouseSchema);
    if (!mouse)
        return nullptr;
    SettingKey speed(mouse.get(), kSpeedKey, G_VARIANT_TYPE_DOUBLE);
    SettingKey double_click(mouse.get(), kDoubleClickKey, G_VARIANT_TYPE_INT32);
    if (!double_click.usable()) {
        SchemaPtr old_mouse = lookup(source.get(), kOldMouseSchema);
        double_click = SettingKey(old_mouse.get(), kDoubleClickKey, G_VARIANT_TYPE_INT32);
    }
    return std::make_unique<GSettingsMouseSettings>(std::move(speed), std::move(double_click),
                                                    own_file);
}

}  // namespace talvoro
