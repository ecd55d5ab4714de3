#include "results/projectfile.h"

#include "acquire/rasterio.h"
#include "model/text.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pm {

namespace {

void put32(std::string& out, std::int32_t v) {
    unsigned char b[4];
    putLE32(b, v);
    out.append(reinterpret_cast<const char*>(b), 4);
}

void putDouble(std::string& out, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i)
        out.push_back(char(bits >> (8 * i) & 0xFF));
}

double getDouble(const unsigned char* p) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | p[i];
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

void putString(std::string& out, std::u16string_view s) {
    put32(out, std::int32_t(s.size()));
    for (char16_t c : s) {
        out.push_back(char(c & 0xFF));
        out.push_back(char(c >> 8));
    }
}

std::int32_t colorValue(Rgb c) {
    return std::int32_t(std::uint32_t(c.r) | std::uint32_t(c.g) << 8 | std::uint32_t(c.b) << 16);
}

Rgb colorFrom(std::int32_t v) {
    const auto u = std::uint32_t(v);
    return {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16)};
}

// Rounded a * b / c, halves away from zero, as the platform's MulDiv.
int mulDiv(int a, int b, int c) {
    if (c == 0)
        return 0;
    const double v = double(a) * b / c;
    return int(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5));
}

bool writeAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t k = ::write(fd, p, n);
        if (k <= 0)
            return false;
        p += k;
        n -= std::size_t(k);
    }
    return true;
}

} // namespace

ProjectData::~ProjectData() {
    freedib(picture);
}

void packElement(const Telemente& e, unsigned char* out) {
    std::memset(out, 0, kElementRecordSize);
    putLE32(out + 0, e.dragvertnr);
    putLE32(out + 4, e.nr);
    putLE32(out + 8, e.typ);
    const double doubles[] = {e.lang, e.flaeche, e.winkel, e.x1,  e.y1,  e.x2,  e.y2,
                              e.x3,   e.y3,      e.x4,     e.y4,  e.ox1, e.oy1, e.ox2,
                              e.oy2,  e.ox3,     e.oy3,    e.ox4, e.oy4};
    std::string d;
    for (double v : doubles)
        putDouble(d, v);
    std::memcpy(out + 12, d.data(), d.size()); // 19 doubles: offsets 12 to 163
    const bool flags[] = {e.closed,  e.dragvert, e.selected, e.dragit1,
                          e.dragit2, e.dragit3,  e.dragit4};
    for (int i = 0; i < 7; ++i)
        out[164 + i] = flags[i] ? 1 : 0;
}

void unpackElement(const unsigned char* in, Telemente& e) {
    e.dragvertnr = getLE32(in + 0);
    e.nr = getLE32(in + 4);
    e.typ = getLE32(in + 8);
    double* doubles[] = {&e.lang, &e.flaeche, &e.winkel, &e.x1,  &e.y1,  &e.x2,  &e.y2,
                         &e.x3,   &e.y3,      &e.x4,     &e.y4,  &e.ox1, &e.oy1, &e.ox2,
                         &e.oy2,  &e.ox3,     &e.oy3,    &e.ox4, &e.oy4};
    for (int i = 0; i < 19; ++i)
        *doubles[i] = getDouble(in + 12 + 8 * i);
    bool* flags[] = {&e.closed,  &e.dragvert, &e.selected, &e.dragit1,
                     &e.dragit2, &e.dragit3,  &e.dragit4};
    for (int i = 0; i < 7; ++i)
        *flags[i] = in[164 + i] != 0;
}

int fontPoints(int height, int pixelsPerInch) {
    return mulDiv(-height, 72, pixelsPerInch);
}

int fontHeight(int points, int pixelsPerInch) {
    return -mulDiv(points, pixelsPerInch, 72);
}

namespace {

std::size_t rowBytes(const dib& picture) {
    return std::size_t(std::max(0, dibheight(picture))) * std::size_t(picture.bytew);
}

// Everything before the pixel rows.
std::string headPart(const ElementList& list, const dib& picture) {
    std::string out;
    const int bits = dibbitcount(picture);
    const std::int32_t P = bits >= 1 && bits <= 8 ? 1 << bits : 0;
    out.reserve(std::size_t(list.count()) * 200 + 1200);
    put32(out, list.count());
    unsigned char record[kElementRecordSize];
    for (int i = 0; i < list.count(); ++i) {
        const Telemente& e = list.at(i);
        packElement(e, record);
        out.append(reinterpret_cast<const char*>(record), kElementRecordSize);
        const std::uint32_t V = e.vert ? e.vert->count() : 0;
        put32(out, std::int32_t(V));
        if (V)
            out.append(reinterpret_cast<const char*>(e.vert->data()),
                       std::size_t(V) * sizeof(Tvert));
        putString(out, labelOf(e));
    }
    const std::int32_t S = 40 + 4 * P;
    put32(out, S);
    put32(out, P);
    out.append(reinterpret_cast<const char*>(picture.pmi), std::size_t(S));
    return out;
}

// Everything after the pixel rows.
std::string tailPart(const ProjectSettings& s) {
    std::string out;
    put32(out, colorValue(s.color));
    putDouble(out, s.lineWidth);
    putDouble(out, s.arrowLength);
    for (bool o : s.options)
        out.push_back(o ? 1 : 0);
    putDouble(out, s.zoom);
    const LabelFont& f = s.font;
    out.push_back(char(std::uint8_t(f.charset)));
    put32(out, colorValue(f.color));
    out.push_back(char(std::uint8_t(f.face.size())));
    for (std::size_t i = 0; i < (f.face.size() & 0xFF); ++i) {
        out.push_back(char(f.face[i] & 0xFF));
        out.push_back(char(f.face[i] >> 8));
    }
    out.push_back(char(std::uint8_t(f.pitch)));
    put32(out, f.pixelsPerInch);
    put32(out, fontPoints(f.height, f.pixelsPerInch));
    out.push_back(char((f.bold ? 1 : 0) | (f.italic ? 2 : 0) | (f.underline ? 4 : 0) |
                       (f.strikeout ? 8 : 0)));
    return out;
}

} // namespace

std::string projectBytes(const ElementList& list, const dib& picture, const ProjectSettings& s) {
    return headPart(list, picture) +
           std::string(reinterpret_cast<const char*>(picture.poi), rowBytes(picture)) + tailPart(s);
}

bool saveprojekt(const std::string& fileName, const ElementList& list, const dib& picture,
                 const ProjectSettings& s) {
    static_assert(sizeof(Tvert) == 16, "vertices are written as they lie in memory");
    const std::string head = headPart(list, picture), tail = tailPart(s);
    const std::string tmp = fileName + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    // The rows go from the picture's memory straight to the file, as they lie.
    const bool ok = writeAll(fd, head.data(), head.size()) &&
                    writeAll(fd, reinterpret_cast<const char*>(picture.poi), rowBytes(picture)) &&
                    writeAll(fd, tail.data(), tail.size()) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok || std::rename(tmp.c_str(), fileName.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

ReadResult parseProject(const unsigned char* data, std::size_t size, ProjectData& out) {
    ByteReader rd(data, size);
    std::int32_t n = 0;
    // Every element takes at least its record, its vertex count and its label count.
    if (!rd.readInt32(n) || n < 0 || std::size_t(n) > rd.remaining() / (kElementRecordSize + 8))
        return ReadResult::Damaged;
    out.elements.clear();
    out.elements.reserve(std::size_t(n));
    unsigned char record[kElementRecordSize];
    for (std::int32_t i = 0; i < n; ++i) {
        ProjectElement e;
        std::int32_t v = 0;
        if (!rd.readBytes(record, kElementRecordSize) || !rd.readInt32(v) || v < 0 ||
            std::size_t(v) > rd.remaining() / 16)
            return ReadResult::Damaged;
        unpackElement(record, e.record);
        e.vertices.resize(std::size_t(v));
        for (Tvert& t : e.vertices) {
            unsigned char b[16];
            rd.readBytes(b, 16);
            t.x = getDouble(b);
            t.y = getDouble(b + 8);
        }
        if (!rd.readWString(e.label))
            return ReadResult::Damaged;
        // A label ends at its first zero code unit, as labels are held.
        if (const std::size_t z = e.label.find(u'\0'); z != std::u16string::npos)
            e.label.resize(z);
        out.elements.push_back(std::move(e));
    }

    std::int32_t S = 0, P = 0;
    if (!rd.readInt32(S) || !rd.readInt32(P) || (P != 0 && P != 2 && P != 16 && P != 256) ||
        S != 40 + 4 * P || rd.remaining() < std::size_t(S))
        return ReadResult::Damaged;
    std::vector<unsigned char> info(static_cast<std::size_t>(S));
    rd.readBytes(info.data(), info.size());
    const std::int32_t width = getLE32(info.data() + 4);
    const std::int32_t height = getLE32(info.data() + 8);
    const int bits = info[14] | info[15] << 8;
    const int wantP = bits >= 1 && bits <= 8 ? 1 << bits : 0;
    if (width <= 0 || height <= 0 || wantP != P ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return ReadResult::Damaged;
    const std::int64_t bytew = dibRowBytes(width, bits);
    if (bytew <= 0 || std::uint64_t(bytew) * std::uint64_t(height) > rd.remaining())
        return ReadResult::Damaged;
    freedib(out.picture);
    newdib(out.picture, width, height, bits, P ? info.data() : nullptr, P);
    if (!out.picture.poi)
        return ReadResult::Damaged; // too large to hold
    // The stored header is kept as it was written (resolutions, colours used and so on).
    std::memcpy(out.picture.pmi, info.data(), std::size_t(S));
    rd.readBytes(out.picture.poi, std::size_t(bytew) * std::size_t(height));

    std::int32_t color = 0;
    unsigned char d[8];
    ProjectSettings& s = out.settings;
    if (!rd.readInt32(color) || !rd.readBytes(d, 8))
        return ReadResult::Damaged;
    s.color = colorFrom(color);
    s.lineWidth = getDouble(d);
    if (!rd.readBytes(d, 8))
        return ReadResult::Damaged;
    s.arrowLength = getDouble(d);
    unsigned char opts[kProjectOptions];
    if (!rd.readBytes(opts, kProjectOptions) || !rd.readBytes(d, 8))
        return ReadResult::Damaged;
    for (int i = 0; i < kProjectOptions; ++i)
        s.options[std::size_t(i)] = opts[i] != 0;
    s.zoom = getDouble(d);
    unsigned char charset = 0, nameLength = 0;
    std::int32_t fontColor = 0;
    if (!rd.readBytes(&charset, 1) || !rd.readInt32(fontColor) || !rd.readBytes(&nameLength, 1) ||
        rd.remaining() < std::size_t(nameLength) * 2)
        return ReadResult::Damaged;
    LabelFont& f = s.font;
    f.charset = charset;
    f.color = colorFrom(fontColor);
    f.face.resize(nameLength);
    for (std::size_t i = 0; i < nameLength; ++i) {
        unsigned char c[2];
        rd.readBytes(c, 2);
        f.face[i] = char16_t(c[0] | c[1] << 8);
    }
    unsigned char pitch = 0, style = 0;
    std::int32_t ppi = 0, points = 0;
    if (!rd.readBytes(&pitch, 1) || !rd.readInt32(ppi) || !rd.readInt32(points) ||
        !rd.readBytes(&style, 1) || ppi <= 0 || ppi > 10000 || points < -100000 || points > 100000)
        return ReadResult::Damaged;
    f.pitch = pitch;
    f.pixelsPerInch = ppi;
    f.height = fontHeight(points, ppi);
    f.bold = style & 1;
    f.italic = style & 2;
    f.underline = style & 4;
    f.strikeout = style & 8;
    return ReadResult::Ok;
}

ReadResult readProject(const std::string& fileName, ProjectData& out) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ReadResult::CannotOpen;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadResult::CannotOpen;
    }
    const std::size_t size = std::size_t(st.st_size);
    if (size == 0) {
        ::close(fd);
        return ReadResult::Damaged;
    }
    // Mapped, the file is read once, straight into the new picture's rows.
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED)
        return ReadResult::CannotOpen;
    ::madvise(map, size, MADV_SEQUENTIAL);
    const ReadResult r = parseProject(static_cast<const unsigned char*>(map), size, out);
    ::munmap(map, size);
    return r;
}

bool takeElements(ProjectData& data, ElementList& list) {
    list.removeAll();
    for (const ProjectElement& pe : data.elements) {
        Telemente* e = list.append();
        if (!e)
            return false;
        TDynaArray* vert = e->vert;
        *e = pe.record;
        e->vert = vert;
        e->name = nullptr;
        for (const Tvert& v : pe.vertices)
            if (!list.appendVertex(*e, v.x, v.y))
                return false;
        storename(e->name, pe.label);
    }
    return true;
}

} // namespace pm
