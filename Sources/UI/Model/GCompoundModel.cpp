// GCompoundModel: construction, copying, the tree of children, effects, geometry, invalidation and notices.

#include "Model/GCompoundModel.h"

#include "Classes/GClassBoilerplate.h"
#include "Preferences/GlobalColor.h"
#include "Settings/GRegistryDWord.h"
#include "Text/UIStringTable.h"
#include "Threads/GCallbackSender.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

// The model is a GAbstractDIBImage too, which has no class record of its own: cast_to_ answers for it by hand.
const GMetaClass GCompoundModel::metaclass_(typeid(GCompoundModel), "GCompoundModel", &GCompoundModel::ClassBuilder_,
                                            &GCompoundModel::ClassDestroyer_, &GStreamable::metaclass_);
// Scenes written under the class's first name read as models.
static const GMetaClass OldModelName(GCompoundModel::metaclass_, "GCompoundImage");

GRTTIObject* GCompoundModel::ClassBuilder_() {
    return GBuildObject<GCompoundModel>();
}

void GCompoundModel::ClassDestroyer_(GRTTIObject* object) {
    GDestroyObject<GCompoundModel>(object);
}

void* GCompoundModel::cast_to_(const std::type_info& type) const {
    if (type == typeid(GAbstractDIBImage))
        return const_cast<GAbstractDIBImage*>(static_cast<const GAbstractDIBImage*>(this));
    return GCastTo<GCompoundModel, GStreamable>(this, type);
}

const GCallbackReason GCompoundModel::Reason_ModelInvalidated;
const GCallbackReason GCompoundModel::Reason_ModelModified;

// Class-wide settings

GlobalColor& GCompoundModel::BackgroundColor() {
    static GlobalColor color("ImageBackground", 0x463F3F);
    return color;
}

GlobalColor& GCompoundModel::SoftGlowColor() {
    static GlobalColor color("SoftGlow", 0x00FF00);
    return color;
}

GRegistryDWord& GCompoundModel::SoftGlowBorder() {
    static GRegistryDWord border(nullptr, "", "GlowSize", 7);
    return border;
}

DWORD GCompoundModel::BackgroundPixel() {
    return BackgroundColor().getPixel();
}

void GCompoundModel::RegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GCompoundModel>().attachReceiver(&receiver);
}

void GCompoundModel::UnRegisterCallback(GCallbackReceiver& receiver) {
    ClassCallbackSender<GCompoundModel>().detachReceiver(&receiver);
}

void GCompoundModel::send(GCallbackEvent& event) {
    ClassCallbackSender<GCompoundModel>().send(event);
}

// Construction and copies

GCompoundModel::GCompoundModel(int width, int height) {
    resize(width, height);
    invalidate();
}

GCompoundModel::GCompoundModel(const GCompoundModel& other) : GStreamable(), GAbstractDIBImage() {
    *this = other;
    invalidate();
}

GCompoundModel& GCompoundModel::operator=(const GCompoundModel& other) {
    if (this == &other)
        return *this;
    assignAttributes(other);
    deleteAllChilds();
    for (int i = 0; i < other.getChildCount(); ++i) {
        auto* child = new GCompoundModel(*other.getChild(i));
        child->m_parent = this;
        m_children.insert(child);
    }
    return *this;
}

GCompoundModel::~GCompoundModel() {
    resetUnmodifiedImage();
}

void GCompoundModel::assignAttributes(const GCompoundModel& other) {
    assignState(other);
    m_glow = other.m_glow;
    m_invalid = other.m_invalid;
    if (other.m_invalid.isEmpty())
        m_combined = other.m_combined;
}

void GCompoundModel::assignState(const GCompoundModel& other) {
    m_baseImageState = other.m_baseImageState;
    m_mode = other.m_mode;
    m_image = other.m_image;
    m_visible = other.m_visible;
    m_name = other.m_name;
    m_locked = other.m_locked;
    assignEffectsFrom(other);
    m_origin = other.m_origin;
    resetUnmodifiedImage();
    if (other.m_unmodified != nullptr)
        m_unmodified = StateCopy(*other.m_unmodified);
    image_modified();
}

GCompoundModel* GCompoundModel::StateCopy(const GCompoundModel& source) {
    auto* copy = new GCompoundModel(0, 0);
    copy->assignState(source);
    return copy;
}

// The clones join without an invalidation each (each would walk every effect): one covers them all.
void GCompoundModel::assignEffectsFrom(const GCompoundModel& other) {
    std::vector<GImageEffect*> clones;
    for (int i = 0; i < other.getEffectCount(); ++i) {
        GStreamable* copy = other.getEffect(i)->clone();
        if (auto* effect = copy != nullptr ? static_cast<GImageEffect*>(copy->cast_to_(typeid(GImageEffect))) : nullptr)
            clones.push_back(effect);
        else if (copy != nullptr)
            copy->destroyThis();
    }
    deleteAllEffects();
    if (!clones.empty())
        preserveUnmodifiedImage();
    for (GImageEffect* effect : clones)
        appendEffect(effect);
    if (anyEffectOn())
        invalidate();
}

// Accessors

GCompoundModel* GCompoundModel::getRoot() {
    GCompoundModel* model = this;
    while (model->m_parent != nullptr)
        model = model->m_parent;
    return model;
}

int GCompoundModel::getIndexInParent() const {
    return m_parent != nullptr ? m_parent->findChildIndex(this) : -1;
}

bool GCompoundModel::isBackground() const {
    return m_parent == nullptr && m_name.isEmpty() && MaskIsFull(m_image.mask());
}

// Modifiers

GSprite& GCompoundModel::getModifiableImage() {
    preserveUnmodifiedImage();
    m_baseImageState = BaseUnknown;
    image_modified();
    return m_image;
}

void GCompoundModel::setOrigin(const POINT& origin) {
    if (origin.x == m_origin.x && origin.y == m_origin.y)
        return;
    invalidateParent();
    m_origin = origin;
    invalidateParent();
}

void GCompoundModel::setCompositionMode(const GIPLCompositionMode& mode) {
    if (mode == m_mode)
        return;
    m_mode = mode;
    invalidateParent();
}

void GCompoundModel::visible(bool flag) {
    if (flag == m_visible)
        return;
    invalidateParent();
    m_visible = flag;
    invalidateParent();
}

void GCompoundModel::attached(bool flag) {
    m_attached = flag;
    if (flag && m_parent != nullptr && m_name.isEmpty())
        m_name = GString(GetUIModule(), IDS_LAYER);
    for (int i = getChildCount() - 1; i >= 0; --i)
        getChild(i)->attached(flag);
}

void GCompoundModel::addChildAt(int i, GCompoundModel* model) {
    if (model == nullptr)
        return;
    model->m_parent = this;
    m_children.at_insert(i, model);
    model->attached(m_attached);
    model->invalidateParent();
}

GCompoundModel* GCompoundModel::removeChildAt(int i) {
    if (i < 0 || i >= getChildCount())
        return nullptr;
    GCompoundModel* child = getChild(i);
    child->invalidateParent();
    m_children.at_remove(i);
    child->m_parent = nullptr;
    child->attached(false);
    return child;
}

GCompoundModel* GCompoundModel::removeChild(GCompoundModel* model) {
    return removeChildAt(findChildIndex(model));
}

void GCompoundModel::deleteAllChilds() {
    for (int i = getChildCount() - 1; i >= 0; --i)
        removeChildAt(i)->destroyThis();
}

int GCompoundModel::findChildIndex(const GCompoundModel* model) const {
    return model != nullptr ? m_children.index_of(model) : -1;
}

void GCompoundModel::rearrangeChild(int from, int to) {
    if (from != to)
        addChildAt(to, removeChildAt(from));
}

void GCompoundModel::rearrangeChild(GCompoundModel* model, int to) {
    rearrangeChild(findChildIndex(model), to);
}

void GCompoundModel::bringToTop() {
    if (m_parent != nullptr)
        m_parent->rearrangeChild(this, m_parent->getChildCount() - 1);
}

void GCompoundModel::addEffect(GImageEffect* effect) {
    if (effect == nullptr)
        return;
    preserveUnmodifiedImage();
    appendEffect(effect);
    if (effect->isOn())
        invalidate();
}

void GCompoundModel::appendEffect(GImageEffect* effect) {
    effect->setModel(this);
    RoomForOneMore(m_effects);
    m_effects.insert(effect);
}

// The lists grow by their small fixed step; a list that fills up doubles instead, so that appending a long run of
// items copies the list a few times rather than once per item.
void GCompoundModel::RoomForOneMore(GCollection& list) {
    if (list.getCount() == list.getLimit())
        list.setLimit(std::max(list.getDelta(), list.getCount() * 2));
}

bool GCompoundModel::anyEffectOn() const {
    for (int i = 0; i < getEffectCount(); ++i)
        if (getEffect(i)->isOn())
            return true;
    return false;
}

GImageEffect* GCompoundModel::removeEffectAt(int i) {
    if (i < 0 || i >= getEffectCount())
        return nullptr;
    preserveUnmodifiedImage();
    GImageEffect* effect = getEffect(i);
    if (effect->isOn())
        invalidate();
    m_effects.at_remove(i);
    effect->setModel(nullptr);
    return effect;
}

GImageEffect* GCompoundModel::removeEffect(GImageEffect* effect) {
    return removeEffectAt(findEffectIndex(effect));
}

// The area with every effect and the area left without them are invalidated once each, not once per effect.
void GCompoundModel::deleteAllEffects() {
    if (getEffectCount() == 0)
        return;
    preserveUnmodifiedImage();
    const bool on = anyEffectOn();
    if (on)
        invalidate();
    for (int i = getEffectCount() - 1; i >= 0; --i) {
        GImageEffect* effect = getEffect(i);
        m_effects.at_remove(i);
        effect->setModel(nullptr);
        effect->destroyThis();
    }
    if (on)
        invalidate();
}

int GCompoundModel::findEffectIndex(const GImageEffect* effect) const {
    return effect != nullptr ? m_effects.index_of(effect) : -1;
}

GImageEffect* GCompoundModel::findEffectByClass(const GMetaClass* meta) const {
    for (int i = 0; i < getEffectCount(); ++i)
        if (&getEffect(i)->getMetaClass() == meta)
            return getEffect(i);
    return nullptr;
}

GImageEffect* GCompoundModel::getEffectByClass(const GMetaClass* meta) {
    if (GImageEffect* found = findEffectByClass(meta))
        return found;
    GImageEffect* effect = BuildObjectAs<GImageEffect>(meta);
    addEffect(effect);
    return effect;
}

// Geometry

void GCompoundModel::getBoundingRect(RECT& rect, WithEffectsType with) const {
    m_image.getBoundingRect(rect);
    if (with == WithoutEffects)
        return;
    for (int i = 0; i < getEffectCount(); ++i) {
        const GImageEffect* effect = getEffect(i);
        if (effect->isOn() && (with == WithAllEffects || !effect->isExternalEffect()))
            effect->adjustBoundingRect(rect);
    }
}

void GCompoundModel::getParentBoundingRect(RECT& rect, WithEffectsType with) const {
    getBoundingRect(rect, with);
    rect = Offset(rect, m_origin);
}

void GCompoundModel::getGlobalBoundingRect(RECT& rect, WithEffectsType with) const {
    getBoundingRect(rect, with);
    rect = Offset(rect, getGlobalOrigin(WithoutEffects));
}

// With effects, the corner of the enlarged rectangle in the model's own coordinates (no caller asks for it).
GPoint GCompoundModel::getOrigin(WithEffectsType with) const {
    if (with == WithoutEffects)
        return m_origin;
    RECT rect;
    getBoundingRect(rect, with);
    return GPoint(rect.left, rect.top);
}

GPoint GCompoundModel::getGlobalOrigin(WithEffectsType with) const {
    GPoint sum = with == WithoutEffects ? GPoint() : getOrigin(with);
    for (const GCompoundModel* model = this; model->m_parent != nullptr; model = model->m_parent)
        sum += with == WithoutEffects ? model->m_origin : model->m_parent->getOrigin(with);
    return sum;
}

// The unmodified copy

void GCompoundModel::preserveUnmodifiedImage() {
    if (m_unmodified != nullptr || !m_attached)
        return;
    m_unmodified = StateCopy(*this);
}

void GCompoundModel::resetUnmodifiedImage() {
    if (m_unmodified != nullptr)
        std::exchange(m_unmodified, nullptr)->destroyThis();
}

// Invalidation

void GCompoundModel::invalidate(const RECT& rect) {
    m_invalid |= rect;
    m_baseImageState = BaseUnknown;
    m_glow.free_image();
    if (m_parent != nullptr && m_visible)
        m_parent->invalidate(Offset(rect, m_origin));
    if (m_attached) {
        InvalidatedInfo info{{Reason_ModelInvalidated}, this, rect};
        send(info);
    }
}

void GCompoundModel::invalidate() {
    m_invalid.clear();
    RECT rect;
    getBoundingRect(rect, WithAllEffects);
    invalidate(rect);
}

void GCompoundModel::invalidateParent() {
    if (m_parent == nullptr || !m_visible)
        return;
    RECT rect;
    getParentBoundingRect(rect, WithAllEffects);
    m_parent->invalidate(rect);
}

void GCompoundModel::image_modified() {
    for (int i = 0; i < getEffectCount(); ++i)
        getEffect(i)->modelModified();
    ModifiedInfo info{{Reason_ModelModified}, this};
    send(info);
}
