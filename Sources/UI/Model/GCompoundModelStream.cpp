// GCompoundModel's stream form: version 11 written, every version from 0 read.

#include "Model/GCompoundModel.h"

#include "Streams/InvalidPStream_Exception.h"
#include "Streams/StreamFormat.h"
#include "Streams/ipstream.h"
#include "Streams/opstream.h"

#include <memory>

namespace {

constexpr BYTE FileVersion = 11;
// The body of the shadow effect that versions 2 to 5 kept inline, skipped when the class is not here.
constexpr std::size_t OldShadowBodySize = 14;
// Origins farther out are refused: then every sum of origins and sizes down a tree as deep as a stream may nest
// (StreamFormat::MaxDepth) stays within 32 bits, wherever the tree is composed, hit or invalidated.
constexpr LONG MaxOriginDistance = 1 << 20;
static_assert(static_cast<long long>(StreamFormat::MaxDepth) * MaxOriginDistance +
                  2LL * StreamFormat::LargestImageSide <
              0x7FFFFFFFLL);

} // namespace

void GCompoundModel::write(opstream& stream) const {
    stream.writeByte(FileVersion);
    // A blank image goes as its size while the readers' budget for such images lasts.
    const bool exists = const_cast<GCompoundModel*>(this)->baseImageExists();
    const bool present =
        exists || !stream.reserveUnbackedPixels(static_cast<unsigned long long>(get_width()) * get_height());
    stream.writeByte(present ? 1 : 0);
    if (present) {
        stream.writeStreamable(m_image);
    } else {
        stream.writeDWord(static_cast<DWORD>(m_image.get_width()));
        stream.writeDWord(static_cast<DWORD>(m_image.get_height()));
    }
    stream << m_origin;
    stream.writeDWord(static_cast<DWORD>(getChildCount()));
    for (int i = 0; i < getChildCount(); ++i)
        stream.writePointer(getChild(i));
    stream.writeDWord(m_visible ? 1 : 0);
    stream.writeByte(static_cast<BYTE>(exists ? BasePresent : BaseBlank));
    stream << m_name;
    stream.writeDWord(m_locked ? 1 : 0);
    stream.writeDWord(static_cast<DWORD>(getEffectCount()));
    for (int i = 0; i < getEffectCount(); ++i)
        stream.writePointer(getEffect(i));
    stream.writeDWord(static_cast<DWORD>(m_mode.type()));
    stream.writeDWord(m_mode.alphaPremultiplied() ? 1 : 0);
}

void GCompoundModel::read(ipstream& stream) {
    const BYTE version = stream.readVersion(FileVersion, typeid(GCompoundModel));
    resetUnmodifiedImage();
    readImage(stream, version);
    stream >> m_origin;
    if (m_origin.x < -MaxOriginDistance || m_origin.x > MaxOriginDistance || m_origin.y < -MaxOriginDistance ||
        m_origin.y > MaxOriginDistance)
        RaiseStreamError("Invalid model origin %li, %li. Position=%li", static_cast<long>(m_origin.x),
                         static_cast<long>(m_origin.y), static_cast<long>(stream.countOfReadBytes()));
    readChildren(stream);
    if (version >= 1 && version <= 7)
        skipObsoleteObject(stream, version);
    if (version >= 2 && version <= 5)
        readOldShadow(stream);
    m_visible = version < 3 || stream.readDWord() != 0;
    if (version >= 9) {
        const BYTE state = stream.readByte();
        m_baseImageState = state <= BasePresent ? static_cast<int>(state) : static_cast<int>(BaseUnknown);
    } else {
        m_baseImageState = version >= 4 && stream.readDWord() == 0 ? BaseBlank : BaseUnknown;
    }
    m_name = version >= 5 ? readName(stream) : GString();
    m_locked = version >= 7 && stream.readDWord() != 0;
    if (version >= 6)
        readEffects(stream);
    m_mode = GIPLCompositionMode(0);
    if (version >= 11) {
        m_mode.type(static_cast<GIPLCompositionMode::Type>(stream.readDWord()));
        m_mode.alphaPremultiplied(stream.readDWord() != 0);
    }
    invalidate();
}

// The own image: embedded, or (from version 10) only a size when it was blank; version 0 holds the sprite's
// body without a frame.
void GCompoundModel::readImage(ipstream& stream, BYTE version) {
    const bool present = version < 10 || stream.readByte() != 0;
    if (version == 0) {
        m_image.read(stream);
    } else if (present) {
        stream.readStreamable(m_image);
    } else {
        const DWORD width = stream.readDWord();
        const DWORD height = stream.readDWord();
        if (!StreamFormat::ImageSizeAllowed(width, height))
            RaiseStreamError("Invalid model size %u x %u. Position=%li", width, height,
                             static_cast<long>(stream.countOfReadBytes()));
        stream.claimUnbackedPixels(static_cast<unsigned long long>(width) * height);
        m_image.resize(static_cast<int>(width), static_cast<int>(height));
        if (width > 0 && height > 0)
            m_image.full_fill(BackgroundPixel());
    }
}

void GCompoundModel::readChildren(ipstream& stream) {
    deleteAllChilds();
    const DWORD count = stream.readDWord();
    const ipstream::OwningScope owning(stream); // the children are this model's
    for (DWORD i = 0; i < count; ++i)
        if (auto* child = stream.readPointer<GCompoundModel>()) {
            child->m_parent = this;
            RoomForOneMore(m_children);
            m_children.insert(child);
        }
}

// Versions 1 to 7 kept an object (after a number below version 4) that is no longer used: read and dropped.
void GCompoundModel::skipObsoleteObject(ipstream& stream, BYTE version) {
    if (version < 4)
        stream.readDWord();
    GStreamable* obsolete = nullptr;
    {
        const ipstream::OwningScope owning(stream);
        obsolete = stream.readPointer<GStreamable>();
    }
    if (obsolete != nullptr) {
        stream.forget(*obsolete);
        obsolete->destroyThis();
    }
}

// Versions 2 to 5 kept a shadow effect's body inline, without a frame.
void GCompoundModel::readOldShadow(ipstream& stream) {
    GImageEffect* effect = BuildObjectAs<GImageEffect>(GMetaClass::FindByName("ShadowImageEffect"));
    if (effect == nullptr) {
        stream.skipBytes(OldShadowBodySize);
        return;
    }
    std::unique_ptr<GImageEffect, void (*)(GImageEffect*)> held(effect, [](GImageEffect* e) { e->destroyThis(); });
    effect->read(stream);
    addEffect(held.release());
}

GString GCompoundModel::readName(ipstream& stream) {
    GString name;
    stream >> name;
    return name;
}

void GCompoundModel::readEffects(ipstream& stream) {
    deleteAllEffects();
    const DWORD count = stream.readDWord();
    const ipstream::OwningScope owning(stream); // the effects are this model's; read() invalidates once for all
    for (DWORD i = 0; i < count; ++i)
        if (auto* effect = stream.readPointer<GImageEffect>())
            appendEffect(effect);
}
