#include "engine/xls/sheet_drawing.h"

#include "engine/core/address.h"
#include "engine/xls/bytes.h"
#include "engine/xls/record_types.h"
#include "engine/xls/unicode_string.h"

#include <algorithm>

namespace engine::xls {

namespace {

// Drawing records ([MS-ODRAW]): a 16-bit version and instance, a 16-bit type and a 32-bit length.
// Version 0xF marks a container, whose length spans the records inside it.
constexpr uint16_t DgContainer = 0xF002, SpgrContainer = 0xF003, SpContainer = 0xF004;
constexpr uint16_t DggContainer = 0xF000, Dgg = 0xF006, Dg = 0xF008, Spgr = 0xF009, Sp = 0xF00A;
constexpr uint16_t Opt = 0xF00B, ClientTextbox = 0xF00D, ClientAnchor = 0xF010, ClientData = 0xF011;
constexpr uint8_t Container = 0xF;
constexpr uint32_t ShapesPerCluster = 1024;

// OBJ's first part (ftCmo) and the object kind of a comment; ftNts, the comment's own part.
constexpr uint16_t FtCmo = 0x0015, FtNts = 0x000D, CommentObject = 0x0019;
// OBJ's options for a comment: locked, printed, lines drawn automatically.
constexpr uint16_t CommentObjectOptions = 0x4011;
// TXO's options: text to the left and top, locked with the sheet.
constexpr uint16_t CommentTextOptions = 0x0212;
constexpr uint16_t NoteShown = 0x0002;
constexpr size_t MaxCommentText = 32767;
constexpr size_t MaxContinue = 8224;

// Shape properties of a comment's box: the tooltip colours Excel gives comments, a shadow, and
// whether the box is hidden until the pointer is over its cell.
constexpr uint16_t FillColor = 0x0181, FillBackColor = 0x0183, FillBooleans = 0x01BF;
constexpr uint16_t ShadowColor = 0x0201, ShadowBooleans = 0x023F, GroupBooleans = 0x03BF;
constexpr uint32_t InfoBackground = 0x08000050;

void putDrawingHeader(std::vector<uint8_t>& o, uint16_t version, uint16_t instance, uint16_t type,
                      uint32_t length) {
    putU16(o, uint16_t(version | instance << 4));
    putU16(o, type);
    putU32(o, length);
}

uint16_t u16At(std::span<const uint8_t> b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

std::vector<std::pair<uint16_t, uint32_t>> boxProperties(bool shown) {
    return {{FillColor, InfoBackground},  {FillBackColor, InfoBackground},
            {FillBooleans, 0x00100010},   {ShadowColor, 0x00000000},
            {ShadowBooleans, 0x00030003}, {GroupBooleans, shown ? 0x00020000u : 0x00020002u}};
}

constexpr uint32_t OptLength(size_t properties) {
    return uint32_t(6 * properties);
}

// A comment's shape from its SpContainer header up to its client data; its text box follows the OBJ.
constexpr uint32_t AnchorLength = 18;
uint32_t shapeLength() {
    return 8 + 8 + 8 + OptLength(boxProperties(false).size()) + 8 + AnchorLength + 8 + 8;
}

void putShape(std::vector<uint8_t>& o, const Comment& c, uint32_t id) {
    putDrawingHeader(o, Container, 0, SpContainer, shapeLength());
    putDrawingHeader(o, 2, 202, Sp, 8); // a text box
    putU32(o, id);
    putU32(o, 0x00000A00); // it has an anchor and a shape type
    const auto properties = boxProperties(c.shown);
    putDrawingHeader(o, 3, uint16_t(properties.size()), Opt, OptLength(properties.size()));
    for (auto [property, value] : properties) {
        putU16(o, property);
        putU32(o, value);
    }
    putDrawingHeader(o, 0, 0, ClientAnchor, AnchorLength);
    const CommentBox& b = c.box;
    putU16(o, 0x0003); // moves with its cells, keeps its size
    for (int v : {b.left, b.leftOffset, b.top, b.topOffset, b.right, b.rightOffset, b.bottom, b.bottomOffset})
        putU16(o, uint16_t(v));
    putDrawingHeader(o, 0, 0, ClientData, 0);
}

void putObject(RecordWriter& w, uint16_t id) {
    auto& o = w.out();
    size_t h = w.begin(rec::Obj);
    putU16(o, FtCmo);
    putU16(o, 18);
    putU16(o, CommentObject);
    putU16(o, id);
    putU16(o, CommentObjectOptions);
    o.resize(o.size() + 12, 0);
    putU16(o, FtNts);
    putU16(o, 22);
    o.resize(o.size() + 22, 0);
    putU32(o, 0); // ftEnd
    w.end(h);
}

// A filter's drop-down arrow: a control shape over its column's header cell, printed never, and its
// combo box OBJ, whose list is an autofilter's, marked when its column has a condition.
constexpr uint16_t ProtectionBooleans = 0x007F, TextBooleans = 0x00BF, LineBooleans = 0x01FF;
constexpr uint16_t ComboBox = 0x0014, FtSbs = 0x000C, FtLbsData = 0x0013;
constexpr uint16_t ArrowObjectOptions = 0x2101; // locked, not printed, drawn automatically
constexpr uint16_t AutoFilterList = 0x0301;     // its kind (an autofilter's) and a combo box of its own
constexpr uint16_t DropDown = 0x0002, Filtered = 0x0008;

std::vector<std::pair<uint16_t, uint32_t>> arrowProperties() {
    return {{ProtectionBooleans, 0x01040104},
            {TextBooleans, 0x00080008},
            {FillBooleans, 0x00010000},
            {LineBooleans, 0x00080000},
            {GroupBooleans, 0x000A0000}};
}

uint32_t arrowShapeLength() {
    return 8 + 8 + 8 + OptLength(arrowProperties().size()) + 8 + AnchorLength + 8;
}

void putArrowShape(std::vector<uint8_t>& o, int row, int col, uint32_t id) {
    putDrawingHeader(o, Container, 0, SpContainer, arrowShapeLength());
    putDrawingHeader(o, 2, 201, Sp, 8); // a control
    putU32(o, id);
    putU32(o, 0x00000A00); // it has an anchor and a shape type
    const auto properties = arrowProperties();
    putDrawingHeader(o, 3, uint16_t(properties.size()), Opt, OptLength(properties.size()));
    for (auto [property, value] : properties) {
        putU16(o, property);
        putU32(o, value);
    }
    putDrawingHeader(o, 0, 0, ClientAnchor, AnchorLength);
    putU16(o, 0x0001); // keeps its place and size
    for (int v : {col, 0, row, 0, std::min(col + 1, kLastColumn), 0, std::min(row + 1, kLastRow), 0})
        putU16(o, uint16_t(v));
    putDrawingHeader(o, 0, 0, ClientData, 0);
}

void putArrowObject(RecordWriter& w, uint16_t id, bool filtered) {
    auto& o = w.out();
    size_t h = w.begin(rec::Obj);
    putU16(o, FtCmo);
    putU16(o, 18);
    putU16(o, ComboBox);
    putU16(o, id);
    putU16(o, ArrowObjectOptions);
    o.resize(o.size() + 12, 0);
    putU16(o, FtSbs);
    putU16(o, 20);
    o.resize(o.size() + 20, 0);
    putU16(o, FtLbsData);
    putU16(o, 16);
    putU16(o, 0); // no formula for its list
    putU16(o, 0); // lines
    putU16(o, 0); // the line selected
    putU16(o, AutoFilterList);
    putU16(o, 0); // no edit box
    putU16(o, uint16_t(DropDown | (filtered ? Filtered : 0)));
    putU16(o, 20);  // lines shown when it drops down
    putU16(o, 130); // the list's narrowest width
    putU32(o, 0);   // ftEnd
    w.end(h);
}

// TXO, then the text in CONTINUE records (each piece with its own option byte), then the runs.
void putText(RecordWriter& w, const Comment& c, const std::function<uint16_t(const Font&)>& font) {
    auto& o = w.out();
    std::vector<std::pair<uint16_t, uint16_t>> runs;
    for (const TextRun& run : c.runs)
        if (run.start < c.text.size())
            runs.emplace_back(run.start, font(run.font));
    if (runs.empty() || runs.front().first != 0)
        runs.insert(runs.begin(), {0, uint16_t(0)});
    const bool hasText = !c.text.empty();
    size_t h = w.begin(rec::Txo);
    putU16(o, CommentTextOptions);
    putU16(o, 0);
    putU16(o, 0);
    putU32(o, 0);
    putU16(o, uint16_t(c.text.size()));
    putU16(o, hasText ? uint16_t(8 * (runs.size() + 1)) : 0);
    putU16(o, runs.front().second);
    putU16(o, 0);
    w.end(h);
    if (!hasText)
        return;
    std::u16string_view rest = c.text;
    while (!rest.empty()) {
        const bool oneByte = fitsOneByte(rest.substr(0, MaxContinue - 1));
        std::u16string_view piece = rest.substr(0, oneByte ? MaxContinue - 1 : (MaxContinue - 1) / 2);
        size_t p = w.begin(rec::Continue);
        putU8(o, oneByte ? 0 : 1);
        putChars(o, piece, oneByte);
        w.end(p);
        rest.remove_prefix(piece.size());
    }
    runs.emplace_back(uint16_t(c.text.size()), uint16_t(0));
    for (size_t at = 0; at < runs.size(); at += MaxContinue / 8) {
        size_t p = w.begin(rec::Continue);
        for (size_t i = at; i < std::min(runs.size(), at + MaxContinue / 8); ++i) {
            putU16(o, runs[i].first);
            putU16(o, runs[i].second);
            putU32(o, 0);
        }
        w.end(p);
    }
}

} // namespace

void CommentReader::drawing(std::span<const uint8_t> body) {
    for (size_t at = 0; at + 8 <= body.size();) {
        const uint16_t versionAndInstance = u16At(body, at), type = u16At(body, at + 2);
        const uint32_t length = uint32_t(u16At(body, at + 4) | u16At(body, at + 6) << 16);
        at += 8;
        if ((versionAndInstance & 0xF) == Container)
            continue;
        if (type == Sp)
            anchor_.reset();
        if (type == ClientAnchor && length >= AnchorLength && body.size() - at >= AnchorLength) {
            auto column = [&](size_t i) {
                return std::min<int>(u16At(body, at + i), kLastColumn);
            };
            auto offset = [&](size_t i, int most) {
                return std::min<int>(u16At(body, at + i), most);
            };
            anchor_ = CommentBox{column(2),  offset(4, 1023),  u16At(body, at + 6),  offset(8, 255),
                                 column(10), offset(12, 1023), u16At(body, at + 14), offset(16, 255)};
        }
        if (length > body.size() - at)
            break;
        at += length;
    }
}

bool CommentReader::object(std::span<const uint8_t> body) {
    object_.reset();
    if (body.size() < 8 || u16At(body, 0) != FtCmo || u16At(body, 4) != CommentObject)
        return false;
    const uint16_t id = u16At(body, 6);
    objects_[id] = Text{{}, {}, anchor_};
    object_ = id;
    return true;
}

void CommentReader::textBox(const std::vector<std::span<const uint8_t>>& segments) {
    if (!object_ || segments.empty() || segments[0].size() < 14)
        return;
    Text& t = objects_[*object_];
    object_.reset();
    size_t left = u16At(segments[0], 10);
    size_t s = 1;
    for (; left > 0 && s < segments.size(); ++s) {
        ByteReader in(segments[s]);
        if (in.atEnd())
            continue;
        const bool wide = in.u8() & 0x01;
        const size_t count = std::min(left, in.remaining() / (wide ? 2 : 1));
        for (size_t i = 0; i < count; ++i)
            t.text.push_back(wide ? char16_t(in.u16()) : char16_t(in.u8()));
        left -= count;
    }
    for (; s < segments.size(); ++s)
        for (size_t at = 0; at + 8 <= segments[s].size(); at += 8) {
            const uint16_t first = u16At(segments[s], at);
            if (first >= t.text.size())
                return;
            t.runs.emplace_back(first, u16At(segments[s], at + 2));
        }
}

bool CommentReader::note(std::span<const uint8_t> body) {
    if (body.size() < 8)
        return false;
    const int row = u16At(body, 0), col = u16At(body, 2);
    const uint16_t options = u16At(body, 4), id = u16At(body, 6);
    if (col > kLastColumn || !objects_.contains(id))
        return false;
    Comment c;
    c.cell = {row, col};
    c.shown = options & NoteShown;
    try {
        ByteReader in(body.subspan(8));
        c.author = readUnicode16(in);
    } catch (const FormatError&) {
        // A note cut short in its author keeps its text: the author is only shown beside it.
    }
    notes_.emplace_back(std::move(c), id);
    return true;
}

std::vector<Comment> CommentReader::comments(const std::function<Font(uint16_t)>& font) const {
    std::vector<Comment> found;
    for (const auto& [read, id] : notes_) {
        const Comment& note = read; // named apart: clang before 16 captures no structured binding
        const bool taken =
            std::any_of(found.begin(), found.end(), [&](const Comment& c) { return c.cell == note.cell; });
        if (taken)
            continue;
        const Text& t = objects_.at(id);
        Comment c = note;
        c.text = t.text;
        // A box without an anchor of its own goes where a new comment's would.
        c.box = t.box.value_or(defaultCommentBox(c.cell));
        // Runs begin where the font changes: a text all in the workbook's font has none.
        for (auto [first, fontIndex] : t.runs) {
            const Font f = font(fontIndex);
            if (!c.runs.empty() && first <= c.runs.back().start)
                continue;
            if (f != (c.runs.empty() ? Font{} : c.runs.back().font))
                c.runs.push_back({first, f});
        }
        found.push_back(std::move(c));
    }
    return found;
}

size_t SheetDrawing::objects() const {
    return (filter ? size_t(filter->range.right - filter->range.left + 1) : 0) +
           (comments ? comments->size() : 0);
}

DrawingShapes nextDrawing(const std::vector<DrawingShapes>& before, const SheetDrawing& drawing) {
    DrawingShapes next;
    next.drawing = uint32_t(before.size() + 1);
    next.firstShape = before.empty()
                          ? ShapesPerCluster
                          : ((before.back().firstShape + before.back().shapes - 1) / ShapesPerCluster + 1) *
                                ShapesPerCluster;
    next.shapes = uint32_t(drawing.objects() + 1);
    return next;
}

void putDrawing(RecordWriter& w, const SheetDrawing& drawing, const DrawingShapes& shapes,
                const std::function<uint16_t(const Font&)>& font) {
    static const std::vector<Comment> none;
    const std::vector<Comment>& comments = drawing.comments ? *drawing.comments : none;
    const size_t objects = drawing.objects();
    if (objects == 0)
        return;
    if (objects >= 0xFFFF)
        throw FormatError("a sheet holds more comments than an Excel 97-2003 file can hold");
    for (const Comment& c : comments)
        if (c.text.size() > MaxCommentText)
            throw FormatError("a comment holds more than the 32,767 characters an Excel 97-2003 file "
                              "can hold");
    auto& o = w.out();
    const size_t arrows = objects - comments.size();
    const uint32_t groupBytes = 8 + 24 + 16;
    const uint32_t spgrLength = groupBytes + uint32_t(arrows) * (8 + arrowShapeLength()) +
                                uint32_t(comments.size()) * (8 + shapeLength());
    // The drawing's header goes with its first shape, in the same MSODRAWING.
    auto begin = [&](size_t object) {
        size_t h = w.begin(rec::MsoDrawing);
        if (object > 0)
            return h;
        putDrawingHeader(o, Container, 0, DgContainer, 16 + 8 + spgrLength);
        putDrawingHeader(o, 0, uint16_t(shapes.drawing), Dg, 8);
        putU32(o, shapes.shapes);
        putU32(o, shapes.firstShape + shapes.shapes - 1);
        putDrawingHeader(o, Container, 0, SpgrContainer, spgrLength);
        putDrawingHeader(o, Container, 0, SpContainer, groupBytes - 8);
        putDrawingHeader(o, 1, 0, Spgr, 16);
        o.resize(o.size() + 16, 0);
        putDrawingHeader(o, 2, 0, Sp, 8);
        putU32(o, shapes.firstShape);
        putU32(o, 0x00000005); // the drawing's own group
        return h;
    };
    for (size_t i = 0; i < arrows; ++i) {
        const AutoFilter& f = *drawing.filter;
        const int col = f.range.left + int(i);
        const bool filtered = std::any_of(f.columns.begin(), f.columns.end(),
                                          [&](const FilterColumn& c) { return c.col == col; });
        size_t h = begin(i);
        putArrowShape(o, f.range.top, col, shapes.firstShape + uint32_t(i) + 1);
        w.end(h);
        putArrowObject(w, uint16_t(i + 1), filtered);
    }
    for (size_t i = 0; i < comments.size(); ++i) {
        const size_t object = arrows + i;
        size_t h = begin(object);
        putShape(o, comments[i], shapes.firstShape + uint32_t(object) + 1);
        w.end(h);
        putObject(w, uint16_t(object + 1));
        h = w.begin(rec::MsoDrawing);
        putDrawingHeader(o, 0, 0, ClientTextbox, 0);
        w.end(h);
        putText(w, comments[i], font);
    }
    for (size_t i = 0; i < comments.size(); ++i) {
        const Comment& c = comments[i];
        size_t h = w.begin(rec::Note);
        putU16(o, uint16_t(c.cell.row));
        putU16(o, uint16_t(c.cell.col));
        putU16(o, c.shown ? NoteShown : 0);
        putU16(o, uint16_t(arrows + i + 1));
        putUnicode16(o, c.author);
        putU8(o, 0);
        w.end(h);
    }
}

void putDrawingGroup(RecordWriter& w, const std::vector<DrawingShapes>& drawings) {
    if (drawings.empty())
        return;
    // One identifier cluster for each 1,024 shape identifiers a drawing takes, with how many it uses.
    std::vector<std::pair<uint32_t, uint32_t>> clusters;
    uint32_t shapes = 0;
    for (const DrawingShapes& d : drawings) {
        for (uint32_t used = 0; used < d.shapes; used += ShapesPerCluster)
            clusters.emplace_back(d.drawing, std::min(ShapesPerCluster, d.shapes - used));
        shapes += d.shapes;
    }
    auto& o = w.out();
    size_t h = w.begin(rec::MsoDrawingGroup);
    const uint32_t dggLength = 16 + 8 * uint32_t(clusters.size());
    putDrawingHeader(o, Container, 0, DggContainer, 8 + dggLength);
    putDrawingHeader(o, 0, 0, Dgg, dggLength);
    putU32(o, drawings.back().firstShape + drawings.back().shapes);
    putU32(o, uint32_t(clusters.size() + 1));
    putU32(o, shapes);
    putU32(o, uint32_t(drawings.size()));
    for (auto [drawing, used] : clusters) {
        putU32(o, drawing);
        putU32(o, used);
    }
    w.end(h);
}

} // namespace engine::xls
