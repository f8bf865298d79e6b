#pragma once
// GAbstractDIBImage: row access to a 32-bit image, the interface through which formats and effects reach any
// image that can hand out its pixels row by row. Pixels are 0xAARRGGBB.

#include "win/Win32Types.h"

#include <typeinfo>

class GAbstractDIBImage {
public:
    virtual ~GAbstractDIBImage() = default;

    virtual int get_width() const = 0;
    virtual int get_height() const = 0;
    virtual void resize(int width, int height) = 0;
    // Copies `count` pixels of row y from column x into / out of a buffer; spans are clipped to the row.
    virtual void get_hline(DWORD* dst, int x, int y, int count) const = 0;
    virtual void put_hline(const DWORD* src, int x, int y, int count) = 0;
    // The address of row y, for images that keep their rows in memory; null otherwise.
    virtual const DWORD* get_line_address(int) const { return nullptr; }
    virtual DWORD* get_line_address_to_modify(int) { return nullptr; }
    virtual void* cast_to_(const std::type_info& type) const {
        return type == typeid(GAbstractDIBImage) ? const_cast<GAbstractDIBImage*>(this) : nullptr;
    }
};
