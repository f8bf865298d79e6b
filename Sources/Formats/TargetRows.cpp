#include "TargetRows.h"

TargetRows::TargetRows(GAbstractDIBImage& image) : m_image(image) {
    const auto width = static_cast<std::size_t>(image.get_width());
    const auto height = static_cast<std::size_t>(image.get_height());
    m_rows.resize(height);
    for (std::size_t y = 0; y < height; ++y)
        m_rows[y] = reinterpret_cast<std::uint8_t*>(image.get_line_address_to_modify(static_cast<int>(y)));
    if (height == 0 || m_rows[0] != nullptr)
        return;
    m_buffer.resize(width * height);
    for (std::size_t y = 0; y < height; ++y)
        m_rows[y] = reinterpret_cast<std::uint8_t*>(m_buffer.data() + y * width);
}

void TargetRows::handOver() {
    if (m_buffer.empty())
        return;
    for (std::size_t y = 0; y < m_rows.size(); ++y)
        m_image.put_hline(reinterpret_cast<const DWORD*>(m_rows[y]), 0, static_cast<int>(y), m_image.get_width());
}
