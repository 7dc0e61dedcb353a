// The one handle table behind every device context, pen and brush. Internal to
// the raster layer.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "platform/gdi/Basics.h"

namespace gdi::detail {

enum class Kind : std::uint8_t { Free, Dc, Pen, Brush };

struct Pen {
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

struct Brush {
    bool hollow = false;
    COLORREF color = 0;
};

// Leaves new pixels unwritten: every surface fills them with its colour at once, and a value-initialising vector
// would write every pixel twice.
template <typename T>
struct FillLaterAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = FillLaterAllocator<U>;
    };
    template <typename U>
    void construct(U* at) noexcept {
        ::new (static_cast<void*>(at)) U;
    }
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
using Pixels = std::vector<std::uint32_t, FillLaterAllocator<std::uint32_t>>;

// A surface's image is its own `pixels`, or pixels it shares with their owner (a picture, or another surface that
// shows them) until it is first drawn on. Drawing goes through OwnBits, reading through Bits.
struct Dc {
    Pixels pixels;
    std::shared_ptr<const std::uint32_t[]> shared;
    int width = 0;
    int height = 0;
    HPEN pen = 0;
    HBRUSH brush = 0;
    POINT position{0, 0};
};

inline const std::uint32_t* Bits(const Dc& dc) { return dc.shared ? dc.shared.get() : dc.pixels.data(); }

// The first drawing on a surface that shares its pixels copies them into its own.
inline std::uint32_t* OwnBits(Dc& dc) {
    if (dc.shared) {
        const std::uint32_t* from = dc.shared.get();
        dc.pixels.assign(from, from + static_cast<std::size_t>(dc.width) * static_cast<std::size_t>(dc.height));
        dc.shared.reset();
    }
    return dc.pixels.data();
}

class ObjectTable {
public:
    ObjectTable();

    HANDLE AddDc(std::unique_ptr<Dc> dc);
    HANDLE AddPen(const Pen& pen);
    HANDLE AddBrush(const Brush& brush);

    // Objects a caller may still name: alive and not waiting for their deletion.
    Dc* FindDc(HANDLE h);
    Kind KindOf(HANDLE h) const;

    // What a device context draws with; valid while it stays selected.
    const Pen& SelectedPen(const Dc& dc) const;
    const Brush& SelectedBrush(const Dc& dc) const;

    // Moves `h` into the slot `current` (a pen or brush of `dc`); returns the old one.
    HGDIOBJ Select(HGDIOBJ& current, HGDIOBJ h);
    BOOL Delete(HGDIOBJ h);
    BOOL DeleteDc(HDC h);
    HGDIOBJ Stock(int which) const;
    std::size_t LiveCount() const { return live_; }
    std::size_t OwnPixelCount() const;

private:
    struct Slot {
        Kind kind = Kind::Free;
        std::uint16_t generation = 0;
        bool stock = false;
        bool deletePending = false;
        std::uint32_t selections = 0;
        Pen pen;
        Brush brush;
        std::unique_ptr<Dc> dc;
    };

    Slot* Find(HANDLE h);
    const Slot* Find(HANDLE h) const;
    const Slot& SlotOf(HANDLE h) const;
    HANDLE Allocate(Kind kind);
    HANDLE AddStock(Kind kind, const Pen& pen, const Brush& brush);
    void Release(std::size_t index);
    void Deselect(HGDIOBJ h);

    std::vector<Slot> slots_;
    std::deque<std::uint32_t> free_;
    std::vector<HGDIOBJ> stock_;
    std::size_t live_ = 0;
};

ObjectTable& Table();

}  // namespace gdi::detail
