#include "tools/zntpreset/preset_json.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <set>
#include <vector>

#include "tools/zntpreset/codepage.h"

namespace zentra {

namespace {

using Json = nlohmann::ordered_json;

// A numeric field of the record: `count` values (1 for a scalar) of `width`
// bytes at `offset`, each no larger than `max`, which is what the preset file
// stores of it.
struct FieldDef {
    const char* name;
    size_t offset;
    int width;
    int count;
    uint32_t max;
};

#define ZENTRA_FIELD(f, count, max) \
    { #f, offsetof(Preset, f), int(sizeof(((Preset*)nullptr)->f) / (count)), count, max }

// In record order. The file keeps only the low 16 bits of curveType and
// extraValue and the low byte of mouseSetting.
const FieldDef kFields[] = {
    ZENTRA_FIELD(gameType, 1, 0xFFFF),        ZENTRA_FIELD(axisFunction, 4, 0xFFFF),
    ZENTRA_FIELD(pedalsLinked, 1, 0xFFFFFFFF), ZENTRA_FIELD(axisInvert, 1, 0xFFFFFFFF),
    ZENTRA_FIELD(curveType, 4, 0xFFFF),       ZENTRA_FIELD(curveP1x, 4, 0xFFFF),
    ZENTRA_FIELD(curveP2x, 4, 0xFFFF),        ZENTRA_FIELD(curveP1y, 4, 0xFFFF),
    ZENTRA_FIELD(curveP2y, 4, 0xFFFF),        ZENTRA_FIELD(mouseEmulation, 2, 0xFFFF),
    ZENTRA_FIELD(miscWord, 7, 0xFFFF),        ZENTRA_FIELD(mouseSetting, 2, 0xFF),
    ZENTRA_FIELD(mouseParamA, 6, 0xFFFF),     ZENTRA_FIELD(mouseParamB, 6, 0xFFFF),
    ZENTRA_FIELD(clickMask, 4, 0xFFFF),       ZENTRA_FIELD(extraValue, 2, 0xFFFF),
};
#undef ZENTRA_FIELD

uint32_t getValue(const Preset& p, const FieldDef& f, int i) {
    const char* at = reinterpret_cast<const char*>(&p) + f.offset + size_t(i) * f.width;
    if (f.width == 2) {
        uint16_t v;
        std::memcpy(&v, at, 2);
        return v;
    }
    uint32_t v;
    std::memcpy(&v, at, 4);
    return v;
}

void setValue(Preset& p, const FieldDef& f, int i, uint32_t value) {
    char* at = reinterpret_cast<char*>(&p) + f.offset + size_t(i) * f.width;
    if (f.width == 2) {
        const uint16_t v = uint16_t(value);
        std::memcpy(at, &v, 2);
    } else {
        std::memcpy(at, &value, 4);
    }
}

// buttonKeys stands before clickMask in the record.
const char* const kKeysBefore = "clickMask";

// Messages quote at most this many bytes of a value.
const size_t kExcerptLength = 40;

// A text as a message quotes it: in JSON's quotes and escapes, so that no
// control character reaches the terminal, and cut after kExcerptLength
// bytes at the start of a character.
std::string quote(const std::string& text) {
    const bool cut = text.size() > kExcerptLength;
    size_t keep = std::min(text.size(), kExcerptLength);
    while (cut && keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80) --keep;
    std::string quoted = Json(text.substr(0, keep)).dump(-1, ' ', false, Json::error_handler_t::replace);
    if (cut) quoted.insert(quoted.size() - 1, "...");
    return quoted;
}

// An offending value for a message: numbers and words as they are, texts
// quoted, arrays and objects by their kind.
std::string excerpt(const Json& v) {
    if (v.is_string()) return quote(v.get_ref<const std::string&>());
    if (v.is_array()) return "an array of " + std::to_string(v.size()) + " values";
    if (v.is_object()) return "an object";
    return v.dump();
}

std::string describe(size_t index, const Preset& p) {
    std::string who = "preset " + std::to_string(index);
    if (p.gameName[0]) who += " (" + quote(cp1252ToUtf8(p.gameName)) + ")";
    return who;
}

// The deepest a preset table nests: the document's object, the "presets"
// array, a preset, its buttonKeys and one slot's codes.
const size_t kMaxDepth = 5;

// Walks the text once before any of it is built into values. Refuses, with a
// message naming the place, text that is not JSON, a NUL byte (where the
// parser would end the document and ignore what follows), nesting deeper
// than kMaxDepth and a key that appears twice in one object.
class DocumentCheck : public nlohmann::json_sax<Json> {
public:
    bool run(const std::string& text, std::string& error) {
        const size_t nul = text.find('\0');
        if (nul != std::string::npos)
            error_ = "the input holds a NUL byte (at byte " + std::to_string(nul) + "), which JSON text never does";
        else if (!Json::sax_parse(text, this) && error_.empty())
            error_ = "the input is not valid JSON";
        error = error_;
        return error_.empty();
    }

    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t&) override { return value(); }
    bool string(string_t&) override { return value(); }
    bool binary(binary_t&) override { return value(); }
    bool start_object(std::size_t) override { return open(true); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool key(string_t& key) override {
        Level& level = levels_.back();
        level.key = key;
        if (level.keys.insert(key).second) return true;
        error_ = "the input has the key " + quote(key) + " twice in one object, at " + where();
        return false;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) override {
        error_ = "the input is not valid JSON (at byte " + std::to_string(position) + ")";
        return false;
    }

private:
    struct Level {
        bool object;
        std::set<std::string> keys;
        std::string key;      // of an object: the last key
        size_t elements = 0;  // of an array: the values so far
    };

    bool value() {
        if (!levels_.empty() && !levels_.back().object) ++levels_.back().elements;
        return true;
    }
    bool open(bool object) {
        value();
        if (levels_.size() == kMaxDepth) {
            error_ = "the input nests deeper than a preset table (" + std::to_string(kMaxDepth) + " levels), at " +
                     where();
            return false;
        }
        levels_.push_back(Level{object, {}, {}, 0});
        return true;
    }
    bool close() {
        levels_.pop_back();
        return true;
    }
    // The place in the document: presets[3].gameName.
    std::string where() const {
        std::string at;
        for (const Level& level : levels_) {
            if (level.object && !level.key.empty())
                at += (at.empty() ? "" : ".") + (level.key.size() <= kExcerptLength ? level.key : quote(level.key));
            if (!level.object && level.elements > 0) at += "[" + std::to_string(level.elements - 1) + "]";
        }
        return at.empty() ? "the top" : at;
    }

    std::vector<Level> levels_;
    std::string error_;
};

class Importer {
public:
    explicit Importer(std::string& error) : error_(error) {}

    bool preset(const Json& object, size_t index, Preset& p) {
        std::memset(&p, 0, sizeof p);
        resetPreset(p, Deliverable::Panel);
        index_ = index;
        if (!object.is_object()) return fail(describe(index, p), "is not a JSON object");
        if (!text(object, "gameName", p, p.gameName) || !text(object, "exePath", p, p.exePath)) return false;
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!known(it.key())) return fail(describe(index, p), "has an unknown field " + quote(it.key()));
        for (const FieldDef& f : kFields) {
            if (!std::strcmp(f.name, kKeysBefore) && !keys(object, p)) return false;
            if (!numeric(object, f, p)) return false;
        }
        return true;
    }

private:
    static bool known(const std::string& key) {
        if (key == "gameName" || key == "exePath" || key == "buttonKeys") return true;
        for (const FieldDef& f : kFields)
            if (key == f.name) return true;
        return false;
    }

    bool fail(const std::string& who, const std::string& what) {
        error_ = who + ": " + what;
        return false;
    }
    bool failField(const Preset& p, const char* field, const std::string& what) {
        return fail(describe(index_, p), std::string("field '") + field + "' " + what);
    }

    bool number(const Json& v, uint32_t max, uint32_t& out) {
        if (!v.is_number_integer()) return false;
        if (v.is_number_unsigned()) {
            const uint64_t u = v.get<uint64_t>();
            if (u > max) return false;
            out = uint32_t(u);
            return true;
        }
        const int64_t s = v.get<int64_t>();
        if (s < 0 || uint64_t(s) > max) return false;
        out = uint32_t(s);
        return true;
    }

    bool text(const Json& object, const char* field, Preset& p, char (&dst)[kTextSize]) {
        auto it = object.find(field);
        if (it == object.end()) return true;
        if (!it->is_string()) return failField(p, field, "is not a text");
        std::string bytes, bad;
        if (!utf8ToCp1252(it->get<std::string>(), bytes, bad))
            return failField(p, field, "holds " + bad + ", which the Western Windows code page cannot store");
        if (bytes.size() > size_t(kMaxTextLength))
            return failField(p, field, "is " + std::to_string(bytes.size()) + " bytes long; at most 254 fit");
        if (bytes.find('\0') != std::string::npos) return failField(p, field, "holds a NUL character");
        setPresetText(dst, bytes.c_str());
        return true;
    }

    bool numeric(const Json& object, const FieldDef& f, Preset& p) {
        auto it = object.find(f.name);
        if (it == object.end()) return true;
        const std::string range = "0.." + std::to_string(f.max);
        if (f.count == 1) {
            uint32_t v;
            if (!number(*it, f.max, v))
                return failField(p, f.name, "must be a whole number in " + range + ", not " + excerpt(*it));
            setValue(p, f, 0, v);
            return true;
        }
        if (!it->is_array() || it->size() != size_t(f.count))
            return failField(p, f.name, "must be an array of " + std::to_string(f.count) + " numbers");
        for (int i = 0; i < f.count; ++i) {
            uint32_t v;
            if (!number((*it)[i], f.max, v))
                return failField(p, f.name,
                                 "[" + std::to_string(i) + "] must be a whole number in " + range + ", not " +
                                     excerpt((*it)[i]));
            setValue(p, f, i, v);
        }
        return true;
    }

    // Up to 21 slots of up to 32 codes; what is left out is 0.
    bool keys(const Json& object, Preset& p) {
        auto it = object.find("buttonKeys");
        if (it == object.end()) return true;
        if (!it->is_array() || it->size() > size_t(kEmulationSlots))
            return failField(p, "buttonKeys", "must be an array of at most 21 arrays of key codes");
        for (size_t slot = 0; slot < it->size(); ++slot) {
            const Json& codes = (*it)[slot];
            if (!codes.is_array() || codes.size() > size_t(kStoredKeysPerSlot))
                return failField(p, "buttonKeys",
                                 "[" + std::to_string(slot) + "] must be an array of at most 32 key codes");
            for (size_t k = 0; k < codes.size(); ++k) {
                uint32_t v;
                if (!number(codes[k], 0xFFFF, v))
                    return failField(p, "buttonKeys",
                                     "[" + std::to_string(slot) + "][" + std::to_string(k) +
                                         "] must be a key code in 0..65535, not " + excerpt(codes[k]));
                p.buttonKeys[slot][k] = KeyCode(v);
            }
        }
        return true;
    }

    std::string& error_;
    size_t index_ = 0;
};

}  // namespace

nlohmann::ordered_json presetTableToJson(const PresetTable& table) {
    Json presets = Json::array();
    const int n = table.presetCount > kMaxPresets ? kMaxPresets : table.presetCount;
    for (int i = 0; i < n; ++i) {
        const Preset& p = table.presets[i];
        Json o = Json::object();
        o["gameName"] = cp1252ToUtf8(std::string(p.gameName, strnlen(p.gameName, kMaxTextLength)));
        o["exePath"] = cp1252ToUtf8(std::string(p.exePath, strnlen(p.exePath, kMaxTextLength)));
        for (const FieldDef& f : kFields) {
            if (!std::strcmp(f.name, kKeysBefore)) {
                Json slots = Json::array();
                for (int slot = 0; slot < kEmulationSlots; ++slot) {
                    Json codes = Json::array();
                    for (int k = 0; k < kStoredKeysPerSlot; ++k) codes.push_back(p.buttonKeys[slot][k]);
                    slots.push_back(std::move(codes));
                }
                o["buttonKeys"] = std::move(slots);
            }
            // Only what the file keeps: the export of a loaded file is exact.
            if (f.count == 1) {
                o[f.name] = getValue(p, f, 0) & f.max;
            } else {
                Json values = Json::array();
                for (int k = 0; k < f.count; ++k) values.push_back(getValue(p, f, k) & f.max);
                o[f.name] = std::move(values);
            }
        }
        presets.push_back(std::move(o));
    }
    Json root = Json::object();
    root["presets"] = std::move(presets);
    return root;
}

bool presetTableFromJson(const std::string& text, PresetTable& table, std::string& error) {
    DocumentCheck check;
    if (!check.run(text, error)) return false;
    const Json root = Json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        error = "the input is not valid JSON";
        return false;
    }
    auto list = root.is_object() ? root.find("presets") : root.end();
    if (!root.is_object() || list == root.end() || !list->is_array()) {
        error = "the input must be an object with a \"presets\" array";
        return false;
    }
    if (list->size() > size_t(kMaxPresets)) {
        error = "the input holds " + std::to_string(list->size()) + " presets; a preset file holds at most 255";
        return false;
    }
    Importer importer(error);
    for (size_t i = 0; i < list->size(); ++i)
        if (!importer.preset((*list)[i], i, table.presets[i])) return false;
    table.presetCount = uint16_t(list->size());
    return true;
}

}  // namespace zentra
