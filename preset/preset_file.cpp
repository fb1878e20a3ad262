#include "preset/preset_file.h"

#include <algorithm>
#include <cstring>

namespace zentra {

namespace {

const char kSignature[] = "PRS_JOYS";
const char kVersionText[] = "1.00.00";
const size_t kVersSectionSize = 6 + 7;
const size_t kConfSectionSize = 8;

class Writer {
public:
    explicit Writer(size_t capacity) { out_.reserve(capacity); }
    void bytes(const void* p, size_t n) {
        const uint8_t* b = static_cast<const uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    void tag(const char* t) { bytes(t, 4); }
    void u8(uint8_t v) { out_.push_back(v); }
    void u16(uint16_t v) {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    std::vector<uint8_t>& out() { return out_; }

private:
    std::vector<uint8_t> out_;
};

// Reads little-endian values at a position; a value that the data ends
// inside of is not read and leaves its destination as it was.
class Reader {
public:
    Reader(const uint8_t* d, size_t n) : d_(d), n_(n) {}

    bool has(size_t pos, size_t len) const { return pos <= n_ && len <= n_ - pos; }
    size_t size() const { return n_; }
    const uint8_t* at(size_t pos) const { return d_ + pos; }

    void u16(size_t& pos, uint16_t& v) const {
        if (has(pos, 2)) v = uint16_t(d_[pos] | d_[pos + 1] << 8);
        pos += 2;
    }
    // A u16 in the file that widens into a 32-bit field.
    void u16into32(size_t& pos, uint32_t& v) const {
        if (has(pos, 2)) v = uint32_t(d_[pos] | d_[pos + 1] << 8);
        pos += 2;
    }
    void u8into32(size_t& pos, uint32_t& v) const {
        if (has(pos, 1)) v = d_[pos];
        pos += 1;
    }
    void u32(size_t& pos, uint32_t& v) const {
        if (has(pos, 4))
            v = uint32_t(d_[pos]) | uint32_t(d_[pos + 1]) << 8 | uint32_t(d_[pos + 2]) << 16 |
                uint32_t(d_[pos + 3]) << 24;
        pos += 4;
    }
    // A length byte and that many bytes of text. A text the data ends inside
    // of is not stored; one longer than the field keeps its first 254 bytes.
    void text(size_t& pos, char (&field)[kTextSize]) const {
        if (!has(pos, 1)) return;
        const size_t len = d_[pos++];
        if (has(pos, len)) {
            const size_t kept = std::min<size_t>(len, kMaxTextLength);
            std::memcpy(field, d_ + pos, kept);
            field[kept] = '\0';
        }
        pos += len;
    }

private:
    const uint8_t* d_;
    size_t n_;
};

const size_t kNotFound = size_t(-1);

// Where a section starts: at `expected` when its tag is there (the writer's
// place), otherwise at the first occurrence of the tag in the file.
size_t findSection(const Reader& r, const char* tag, size_t expected) {
    if (expected != kNotFound && r.has(expected, 4) && std::memcmp(r.at(expected), tag, 4) == 0)
        return expected;
    if (r.size() < 4) return kNotFound;
    for (size_t p = 0; p + 4 <= r.size(); ++p) {
        const void* hit = std::memchr(r.at(p), tag[0], r.size() - 3 - p);
        if (!hit) break;
        p = size_t(static_cast<const uint8_t*>(hit) - r.at(0));
        if (std::memcmp(r.at(p), tag, 4) == 0) return p;
    }
    return kNotFound;
}

size_t after(size_t start, size_t size) { return start == kNotFound ? kNotFound : start + size; }

}  // namespace

std::vector<uint8_t> encodePresetFile(const PresetTable& table) {
    const int n = std::min<int>(table.presetCount, kMaxPresets);
    // At most 59 + 1460 bytes a preset and the texts.
    Writer w(59 + size_t(n) * (1460 + 2 * kMaxTextLength));
    w.bytes(kSignature, kSignatureSize);

    w.tag("VERS");
    w.u8(0x00);
    w.u8(0x07);
    w.bytes(kVersionText, 7);

    w.tag("CONF");
    w.u8(0x00);
    w.u8(0x02);
    w.u8(uint8_t(n));
    w.u8(0x00);

    w.tag("DATA");
    w.u32(802u * n);
    if (n == 0) return std::move(w.out());
    for (int i = 0; i < n; ++i) {
        const Preset& p = table.presets[i];
        w.u16(p.gameType);
        for (int k = 0; k < 4; ++k) w.u16(p.axisFunction[k]);
        for (int s = 0; s < kAxisSlots; ++s) {
            w.u16(uint16_t(p.curveType[s]));
            w.u16(p.curveP1x[s]);
            w.u16(p.curveP1y[s]);
            w.u16(p.curveP2x[s]);
            w.u16(p.curveP2y[s]);
        }
        for (int slot = 0; slot < kEmulationSlots; ++slot)
            for (int k = 0; k < kStoredKeysPerSlot; ++k) w.u16(p.buttonKeys[slot][k]);
    }

    w.tag("STRI");
    w.u8(0x00);
    w.u8(0x07);
    for (int i = 0; i < n; ++i) {
        const Preset& p = table.presets[i];
        for (const char* text : {p.gameName, p.exePath}) {
            const size_t len = strnlen(text, kMaxTextLength);
            w.u8(uint8_t(len));
            w.bytes(text, len);
        }
    }

    w.tag("MISC");
    w.u32(6u * n);
    for (int i = 0; i < n; ++i) {
        const Preset& p = table.presets[i];
        w.u16(p.mouseEmulation[0]);
        w.u16(p.mouseEmulation[1]);
        for (int k = 0; k < 7; ++k) w.u16(p.miscWord[k]);
        w.u16(uint16_t(p.extraValue[0]));
        w.u16(uint16_t(p.extraValue[1]));
        w.u32(p.pedalsLinked);
        w.u32(p.axisInvert);
    }

    w.tag("MOUS");
    w.u32(34u * n);
    for (int i = 0; i < n; ++i) {
        const Preset& p = table.presets[i];
        w.u8(uint8_t(p.mouseSetting[0]));
        w.u8(uint8_t(p.mouseSetting[1]));
        for (int k = 0; k < 6; ++k) {
            w.u16(p.mouseParamA[k]);
            w.u16(p.mouseParamB[k]);
        }
        for (int k = 0; k < 4; ++k) w.u16(p.clickMask[k]);
    }
    return std::move(w.out());
}

namespace {

// Whether the STRI records from `pos` on are all there; `end` receives where
// they end.
bool stringsComplete(const Reader& r, size_t pos, size_t count, size_t& end) {
    for (size_t i = 0; i < 2 * count; ++i) {
        if (!r.has(pos, 1)) return false;
        pos += 1 + r.at(pos)[0];
        if (!r.has(pos, 0)) return false;
    }
    end = pos;
    return true;
}

// Where the sections are, with the count the records are laid out for (the
// stored count, or the table's when CONF is missing); kNotFound for a
// section that is not there.
struct Sections {
    size_t conf, data, stri, striEnd, misc, mous;
    size_t count;
};

// Finds every section once. Returns false for a section that is there but
// holds fewer bytes than the count's records need: a file cut short (an
// interrupted copy or download), or a count the records do not follow. A
// section's bytes end where the file ends or another section's tag begins.
// Such a file is refused whole, like one without the signature, so that
// rubbish never loads as presets. A section missing altogether is skipped,
// as readers always did.
bool locateSections(const Reader& r, size_t count, Sections& at) {
    const size_t vers = findSection(r, "VERS", kSignatureSize);
    at.conf = findSection(r, "CONF", after(vers, kVersSectionSize));
    if (at.conf != kNotFound) {
        if (!r.has(at.conf + 6, 2)) return false;
        count = size_t(r.at(at.conf + 6)[0] | r.at(at.conf + 7)[0] << 8);
    }
    at.count = count;
    at.data = findSection(r, "DATA", after(at.conf, kConfSectionSize));
    at.stri = findSection(r, "STRI", after(at.data, 8 + kDataRecordSize * count));
    at.striEnd = kNotFound;
    if (at.stri != kNotFound && !stringsComplete(r, at.stri + 6, count, at.striEnd)) return false;
    at.misc = findSection(r, "MISC", at.striEnd);
    at.mous = findSection(r, "MOUS", after(at.misc, 8 + kMiscRecordSize * count));
    const struct {
        size_t start, end;
    } extents[] = {{at.conf, at.conf + kConfSectionSize},
                   {at.data, at.data + 8 + kDataRecordSize * count},
                   {at.stri, at.striEnd},
                   {at.misc, at.misc + 8 + kMiscRecordSize * count},
                   {at.mous, at.mous + 8 + kMousRecordSize * count}};
    for (const auto& e : extents) {
        if (e.start == kNotFound) continue;
        if (!r.has(e.start, e.end - e.start)) return false;
        for (const auto& other : extents)
            if (other.start != kNotFound && other.start > e.start && other.start < e.end) return false;
    }
    return true;
}

}  // namespace

bool decodePresetFile(const uint8_t* data, size_t size, PresetTable& table) {
    const Reader r(data, size);
    if (!r.has(0, kSignatureSize) || std::memcmp(data, kSignature, kSignatureSize) != 0) return false;
    Sections at;
    if (!locateSections(r, table.presetCount, at)) return false;

    // VERS holds only the version text, which is not checked. The count is
    // stored at once; the records that follow are read for it.
    const int n = int(std::min<size_t>(at.count, kMaxPresets));
    table.presetCount = uint16_t(n);

    if (at.data != kNotFound) {
        for (int i = 0; i < n; ++i) {
            Preset& p = table.presets[i];
            size_t pos = at.data + 8 + kDataRecordSize * i;
            r.u16(pos, p.gameType);
            for (int k = 0; k < 4; ++k) r.u16(pos, p.axisFunction[k]);
            for (int s = 0; s < kAxisSlots; ++s) {
                r.u16into32(pos, p.curveType[s]);
                r.u16(pos, p.curveP1x[s]);
                r.u16(pos, p.curveP1y[s]);
                r.u16(pos, p.curveP2x[s]);
                r.u16(pos, p.curveP2y[s]);
            }
            for (int slot = 0; slot < kEmulationSlots; ++slot)
                for (int k = 0; k < kStoredKeysPerSlot; ++k) r.u16(pos, p.buttonKeys[slot][k]);
        }
    }

    if (at.stri != kNotFound) {
        size_t pos = at.stri + 6;
        for (int i = 0; i < n; ++i) {
            r.text(pos, table.presets[i].gameName);
            r.text(pos, table.presets[i].exePath);
        }
    }

    if (at.misc != kNotFound) {
        for (int i = 0; i < n; ++i) {
            Preset& p = table.presets[i];
            size_t pos = at.misc + 8 + kMiscRecordSize * i;
            r.u16(pos, p.mouseEmulation[0]);
            r.u16(pos, p.mouseEmulation[1]);
            for (int k = 0; k < 7; ++k) r.u16(pos, p.miscWord[k]);
            r.u16into32(pos, p.extraValue[0]);
            r.u16into32(pos, p.extraValue[1]);
            r.u32(pos, p.pedalsLinked);
            r.u32(pos, p.axisInvert);
        }
    }

    if (at.mous != kNotFound) {
        for (int i = 0; i < n; ++i) {
            Preset& p = table.presets[i];
            size_t pos = at.mous + 8 + kMousRecordSize * i;
            r.u8into32(pos, p.mouseSetting[0]);
            r.u8into32(pos, p.mouseSetting[1]);
            for (int k = 0; k < 6; ++k) {
                r.u16(pos, p.mouseParamA[k]);
                r.u16(pos, p.mouseParamB[k]);
            }
            for (int k = 0; k < 4; ++k) r.u16(pos, p.clickMask[k]);
        }
    }
    return true;
}

int loadPresetFile(OwnerWindow owner, const char* path, PresetTable& table, FileSystem& files,
                   PresetFileNotice* notice, FileResult* outcome) {
    std::vector<uint8_t> bytes;
    const FileResult result = files.readFile(path, kMaxPresetFileSize, bytes);
    if (outcome) *outcome = result;
    if (result.status == FileResult::TooLarge || (result && !decodePresetFile(bytes.data(), bytes.size(), table))) {
        if (notice) notice->notPresetFile(owner);
        return -1;
    }
    return result ? 0 : -1;
}

int savePresetFile(OwnerWindow, const char* path, const PresetTable& table, FileSystem& files,
                   FileResult* outcome) {
    const FileResult result = files.replaceFile(path, encodePresetFile(table));
    if (outcome) *outcome = result;
    return result ? 1 : 0;
}

}  // namespace zentra
