#include "Imaging/GTemp32Image.h"

GTemp32ImageBase::GTemp32ImageBase(GDIBImage& image)
    : m_image(image.get_image()), m_channels(m_image != nullptr ? m_image->nChannels : 0),
      m_alphaChannel(m_image != nullptr ? m_image->alphaChannel : 0), m_depth(m_image != nullptr ? m_image->depth : 0) {
    if (m_image == nullptr)
        return;
    m_image->nChannels = 1;
    m_image->alphaChannel = 0;
    m_image->depth = IPL_DEPTH_32S;
}

GTemp32ImageBase::~GTemp32ImageBase() {
    if (m_image == nullptr)
        return;
    m_image->nChannels = m_channels;
    m_image->alphaChannel = m_alphaChannel;
    m_image->depth = m_depth;
}
