#include "platform/gdi/Objects.h"

#include <utility>

namespace gdi::detail {

namespace {

// A handle is (generation << 16) | slot. Slot 0 is never used, so no handle is
// 0, and the generation keeps a stale handle from reaching the slot's next
// object. Freed slots wait in a queue before they are reused, so a generation
// comes round again only after tens of thousands of reuses of one slot.
constexpr std::uint32_t kSlotBits = 16;
constexpr std::uint32_t kMaxSlots = 1u << kSlotBits;
constexpr std::uint32_t kGenerationMask = 0x7FFF;
constexpr std::size_t kReuseDelay = 1024;

constexpr HANDLE MakeHandle(std::uint32_t index, std::uint32_t generation) {
    return static_cast<HANDLE>((generation & kGenerationMask) << kSlotBits | index);
}
constexpr std::uint32_t IndexOf(HANDLE h) { return static_cast<std::uint32_t>(h) & (kMaxSlots - 1); }
constexpr std::uint32_t GenerationOf(HANDLE h) { return static_cast<std::uint32_t>(h) >> kSlotBits; }

}  // namespace

ObjectTable::ObjectTable() {
    slots_.resize(1);  // slot 0 stays unused
    auto brush = [this](bool hollow, COLORREF c) { return AddStock(Kind::Brush, Pen{}, Brush{hollow, c}); };
    auto pen = [this](int style, COLORREF c) { return AddStock(Kind::Pen, Pen{style, 1, c}, Brush{}); };
    stock_ = {brush(false, RGB(255, 255, 255)),  brush(false, RGB(192, 192, 192)), brush(false, RGB(128, 128, 128)),
              brush(false, RGB(64, 64, 64)),     brush(false, RGB(0, 0, 0)),       brush(true, 0),
              pen(PS_SOLID, RGB(255, 255, 255)), pen(PS_SOLID, RGB(0, 0, 0)),      pen(PS_NULL, 0)};
}

HANDLE ObjectTable::AddStock(Kind kind, const Pen& pen, const Brush& brush) {
    const auto index = static_cast<std::uint32_t>(slots_.size());
    Slot& s = slots_.emplace_back();
    s.kind = kind;
    s.stock = true;
    s.pen = pen;
    s.brush = brush;
    return MakeHandle(index, 0);
}

HGDIOBJ ObjectTable::Stock(int which) const {
    if (which < 0 || static_cast<std::size_t>(which) >= stock_.size()) return 0;
    return stock_[static_cast<std::size_t>(which)];
}

ObjectTable::Slot* ObjectTable::Find(HANDLE h) { return const_cast<Slot*>(std::as_const(*this).Find(h)); }

const ObjectTable::Slot* ObjectTable::Find(HANDLE h) const {
    if (h <= 0) return nullptr;
    const std::uint32_t index = IndexOf(h);
    if (index == 0 || index >= slots_.size()) return nullptr;
    const Slot& s = slots_[index];
    if (s.kind == Kind::Free || s.deletePending || s.generation != GenerationOf(h)) return nullptr;
    return &s;
}

const ObjectTable::Slot& ObjectTable::SlotOf(HANDLE h) const { return slots_[IndexOf(h)]; }

HANDLE ObjectTable::Allocate(Kind kind) {
    std::uint32_t index;
    if (free_.size() > kReuseDelay || (slots_.size() >= kMaxSlots && !free_.empty())) {
        index = free_.front();
        free_.pop_front();
    } else if (slots_.size() < kMaxSlots) {
        index = static_cast<std::uint32_t>(slots_.size());
        slots_.emplace_back();
    } else {
        return 0;  // the table is full, as GDI's own is after some ten thousand objects
    }
    Slot& s = slots_[index];
    s.kind = kind;
    s.deletePending = false;
    s.selections = 0;
    ++live_;
    return MakeHandle(index, s.generation);
}

void ObjectTable::Release(std::size_t index) {
    Slot& s = slots_[index];
    s.kind = Kind::Free;
    s.dc.reset();
    s.deletePending = false;
    s.selections = 0;
    s.generation = static_cast<std::uint16_t>((s.generation + 1) & kGenerationMask);
    free_.push_back(static_cast<std::uint32_t>(index));
    --live_;
}

HANDLE ObjectTable::AddDc(std::unique_ptr<Dc> dc) {
    const HANDLE h = Allocate(Kind::Dc);
    if (h == 0) return 0;
    dc->pen = Stock(BLACK_PEN);
    dc->brush = Stock(WHITE_BRUSH);
    slots_[IndexOf(h)].dc = std::move(dc);
    return h;
}

HANDLE ObjectTable::AddPen(const Pen& pen) {
    const HANDLE h = Allocate(Kind::Pen);
    if (h != 0) slots_[IndexOf(h)].pen = pen;
    return h;
}

HANDLE ObjectTable::AddBrush(const Brush& brush) {
    const HANDLE h = Allocate(Kind::Brush);
    if (h != 0) slots_[IndexOf(h)].brush = brush;
    return h;
}

Dc* ObjectTable::FindDc(HANDLE h) {
    Slot* s = Find(h);
    return s != nullptr && s->kind == Kind::Dc ? s->dc.get() : nullptr;
}

Kind ObjectTable::KindOf(HANDLE h) const {
    const Slot* s = Find(h);
    return s != nullptr ? s->kind : Kind::Free;
}

const Pen& ObjectTable::SelectedPen(const Dc& dc) const { return SlotOf(dc.pen).pen; }
const Brush& ObjectTable::SelectedBrush(const Dc& dc) const { return SlotOf(dc.brush).brush; }

HGDIOBJ ObjectTable::Select(HGDIOBJ& current, HGDIOBJ h) {
    const HGDIOBJ old = current;
    if (old == h) return old;
    Slot& s = slots_[IndexOf(h)];
    if (!s.stock) ++s.selections;
    current = h;
    Deselect(old);
    return old;
}

void ObjectTable::Deselect(HGDIOBJ h) {
    const std::uint32_t index = IndexOf(h);
    Slot& s = slots_[index];
    if (s.stock) return;
    --s.selections;
    if (s.selections == 0 && s.deletePending) Release(index);
}

// GDI does not free a pen or brush that a device context still draws with: the
// call succeeds, the handle is dead for callers at once, and the object itself
// goes when the last device context lets go of it. Stock objects stay.
BOOL ObjectTable::Delete(HGDIOBJ h) {
    Slot* s = Find(h);
    if (s == nullptr) return FALSE;
    if (s->stock) return TRUE;
    if (s->kind == Kind::Dc) return FALSE;  // device contexts go through DeleteDC
    if (s->selections > 0) {
        s->deletePending = true;
        return TRUE;
    }
    Release(IndexOf(h));
    return TRUE;
}

BOOL ObjectTable::DeleteDc(HDC h) {
    Slot* s = Find(h);
    if (s == nullptr || s->kind != Kind::Dc) return FALSE;
    const std::unique_ptr<Dc> dc = std::move(s->dc);
    Release(IndexOf(h));
    Deselect(dc->pen);
    Deselect(dc->brush);
    return TRUE;
}

std::size_t ObjectTable::OwnPixelCount() const {
    std::size_t count = 0;
    for (const Slot& s : slots_)
        if (s.kind == Kind::Dc && s.dc) count += s.dc->pixels.size();
    return count;
}

ObjectTable& Table() {
    static ObjectTable table;
    return table;
}

}  // namespace gdi::detail
