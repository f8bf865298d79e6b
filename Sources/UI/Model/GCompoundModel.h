#pragma once
// GCompoundModel: one image layer of a scene. Its own sprite (colour and mask) lies at an origin in its parent;
// its children are drawn over it (index 0 at the bottom) and its effects applied to it in order. The root is the
// background; the objects a person inserts are its children. A model is also an image whose pixels read as its
// fully composed picture. Compositions are cached per model and recomputed only inside invalidated regions.

#include "Collections/TGCollection.h"
#include "Imaging/GAbstractDIBImage.h"
#include "Model/GImageEffect.h"
#include "Regions/GPoint.h"
#include "Regions/GRegion.h"
#include "Sprites/GSprite.h"
#include "Text/GString.h"
#include "Threads/GCallbackReason.h"
#include "Threads/GCallbackReceiver.h"
#include "win/Saturated.h"

class GlobalColor;
class GRegistryDWord;

class GCompoundModel : public GStreamable, public GAbstractDIBImage {
    G_CLASS(GCompoundModel)

    // What a model handed to the document from outside becomes.
    enum Type { TypeScene = 0, TypeBackground = 1, TypeObject = 2, TypeUnknown = 3 };
    // Which effects enlarge a bounding rectangle: none, the model's own (internal) effects that are on, or all
    // that are on.
    enum WithEffectsType { WithoutEffects = 0, WithOwnEffects = 1, WithAllEffects = 2 };

    GCompoundModel(int width = 0, int height = 0);
    GCompoundModel(const GCompoundModel& other);
    GCompoundModel& operator=(const GCompoundModel& other);
    ~GCompoundModel() override;

    // Everything but the parent, the children and the attached flag.
    void assignAttributes(const GCompoundModel& other);
    // What undo restores: the same less the caches (glow, composed image), which compose again.
    void assignState(const GCompoundModel& other);
    void assignEffectsFrom(const GCompoundModel& other);

    // Class-wide settings: the colour of blank pixels ("ImageBackground"), the selection glow's colour
    // ("SoftGlow") and width ("GlowSize").
    static GlobalColor& BackgroundColor();
    static GlobalColor& SoftGlowColor();
    static GRegistryDWord& SoftGlowBorder();
    // The background colour as an opaque pixel.
    static DWORD BackgroundPixel();

    // Notices: Reason_ModelInvalidated (model, rectangle) from attached models, Reason_ModelModified (model).
    static const GCallbackReason Reason_ModelInvalidated;
    static const GCallbackReason Reason_ModelModified;
    struct InvalidatedInfo : GCallbackEvent {
        GCompoundModel* model;
        RECT rect;
    };
    struct ModifiedInfo : GCallbackEvent {
        GCompoundModel* model;
    };
    static void RegisterCallback(GCallbackReceiver& receiver);
    static void UnRegisterCallback(GCallbackReceiver& receiver);

    // Accessors. Indices are not checked: callers keep them in range.
    const GSprite& getImage() const { return m_image; }
    GCompoundModel* getParent() const { return m_parent; }
    const GPoint& getOrigin() const { return m_origin; }
    int getChildCount() const { return m_children.getCount(); }
    GCompoundModel* getChild(int i) const { return m_children.at(i); }
    int getEffectCount() const { return m_effects.getCount(); }
    GImageEffect* getEffect(int i) const { return m_effects.at(i); }
    const GString& getName() const { return m_name; }
    const GIPLCompositionMode& getCompositionMode() const { return m_mode; }
    bool attached() const { return m_attached; }
    bool visible() const { return m_visible; }
    bool locked() const { return m_locked; }
    GCompoundModel* getRoot();
    int getIndexInParent() const;
    bool isBackground() const;

    // Modifiers.
    // The own sprite for writing; every edit of pixels goes through it.
    GSprite& getModifiableImage();
    void setOrigin(const POINT& origin);
    void setCompositionMode(const GIPLCompositionMode& mode);
    void visible(bool flag);
    void locked(bool flag) { m_locked = flag; }
    // Attaching a model below a parent without a name names it "Layer"; children follow.
    void attached(bool flag);
    void setName(const char* name) { m_name = name; }

    void addChild(GCompoundModel* model) { addChildAt(getChildCount(), model); }
    void addChildAt(int i, GCompoundModel* model);
    // The child taken out (the caller owns it); null out of range.
    GCompoundModel* removeChildAt(int i);
    GCompoundModel* removeChild(GCompoundModel* model);
    void deleteAllChilds();
    int findChildIndex(const GCompoundModel* model) const;
    void rearrangeChild(int from, int to);
    void rearrangeChild(GCompoundModel* model, int to);
    void bringToTop();

    void addEffect(GImageEffect* effect);
    GImageEffect* removeEffectAt(int i);
    GImageEffect* removeEffect(GImageEffect* effect);
    void deleteAllEffects();
    int findEffectIndex(const GImageEffect* effect) const;
    GImageEffect* findEffectByClass(const GMetaClass* meta) const;
    // The effect of that class, made and added when there is none.
    GImageEffect* getEffectByClass(const GMetaClass* meta);

    // Geometry: the own sprite's rectangle, enlarged by the effects `with` asks for; offset into the parent and
    // into the root.
    void getBoundingRect(RECT& rect, WithEffectsType with) const;
    void getParentBoundingRect(RECT& rect, WithEffectsType with) const;
    void getGlobalBoundingRect(RECT& rect, WithEffectsType with) const;
    GPoint getOrigin(WithEffectsType with) const;
    GPoint getGlobalOrigin(WithEffectsType with) const;

    // Composition.
    // The own sprite when nothing is drawn over it or into it; else the combined cache, brought up to date.
    const GSprite& getCombinedImage();
    void putToImage(GSprite& target, const GIPLCompositionMode& mode);
    // The topmost visible model (this one or below) with a pixel at `point` (this model's coordinates).
    GCompoundModel* findImageUnderCursor(const GPoint& point);
    // Whether the own image holds more than a uniform fill of the background colour.
    bool baseImageExists();
    void getFullMask(GIPLMask& mask) const { m_image.getFullMask(mask); }
    // The selection glow: a halo of SoftGlowColor, SoftGlowBorder pixels wide, round the model's outline
    // (premultiplied, its mask the halo only), made once per change.
    const GSprite& softGlowImage();
    void resetSoftGlowImage();
    // Frees the glow and the composed caches of this model and all below it; they compose again when asked for.
    // A model held out of the scene (by an undo step) keeps only what it cannot make again.
    void releaseCaches();

    // The look before the first change while attached, kept for the commands that restore it.
    void preserveUnmodifiedImage();
    void resetUnmodifiedImage();
    GCompoundModel* getUnmodifiedModel() { return m_unmodified != nullptr ? m_unmodified : this; }
    const GCompoundModel* getUnmodifiedModel() const { return m_unmodified != nullptr ? m_unmodified : this; }
    const GSprite& getUnmodifiedImage() { return getUnmodifiedModel()->m_image; }

    // Invalidation: a rectangle of the own coordinates, the whole model, the model's area in its parent.
    void invalidate(const RECT& rect);
    void invalidate();
    void invalidateParent();
    // The own image changed: the effects and the receivers are told.
    void image_modified();

    // Version 11: the version, whether the image is present, the image (or its size when blank), the origin, the
    // children, visibility, the blank state, the name, the lock, the effects, the composition mode. Every older
    // version reads.
    void write(opstream& stream) const override;
    void read(ipstream& stream) override;

    // As an image: the own size; reading gives the composed pixels, writing changes the own image.
    int get_width() const override { return m_image.get_width(); }
    int get_height() const override { return m_image.get_height(); }
    // A new size filled with the background colour (the former content is not kept).
    void resize(int width, int height) override;
    void get_hline(DWORD* dst, int x, int y, int count) const override;
    void put_hline(const DWORD* src, int x, int y, int count) override;
    const DWORD* get_line_address(int y) const override;
    DWORD* get_line_address_to_modify(int y) override;

private:
    enum BaseImageState { BaseUnknown = 0, BaseBlank = 1, BasePresent = 2 };

    // Saturates at the edge of the coordinate space (origins set while editing are not bounded).
    static RECT Offset(const RECT& rect, const POINT& by) {
        return {SaturatedAdd(rect.left, by.x), SaturatedAdd(rect.top, by.y), SaturatedAdd(rect.right, by.x),
                SaturatedAdd(rect.bottom, by.y)};
    }
    // Whether every bit of the mask is set (an empty mask counts as full).
    static bool MaskIsFull(const GIPLMask& mask);
    bool hasOwnDrawing() const;
    // A new detached model holding `source`'s state (no caches, no children).
    static GCompoundModel* StateCopy(const GCompoundModel& source);
    // Takes the effect into the list without invalidating; the caller invalidates once for all it appends.
    void appendEffect(GImageEffect* effect);
    bool anyEffectOn() const;
    static void RoomForOneMore(GCollection& list);
    void readImage(ipstream& stream, BYTE version);
    void readChildren(ipstream& stream);
    void skipObsoleteObject(ipstream& stream, BYTE version);
    void readOldShadow(ipstream& stream);
    static GString readName(ipstream& stream);
    void readEffects(ipstream& stream);
    void validateCache();
    // `shift`: from the parent's coordinates to the target's (the parent's cache may start left of or above it).
    void putToImage(GSprite& target, const RECT& rect, const GIPLCompositionMode& mode, const POINT& shift);
    static void send(GCallbackEvent& event);

    GCompoundModel* m_parent = nullptr;
    TGCollection<GCompoundModel> m_children{0, 4, true};
    TGCollection<GImageEffect> m_effects{0, 2, true};
    GPoint m_origin;
    GIPLCompositionMode m_mode{0}; // alpha composition, straight colours
    GSprite m_image;
    GCompoundModel* m_unmodified = nullptr; // owned
    GString m_name;
    bool m_attached = false;
    bool m_visible = true;
    bool m_locked = false;
    GSprite m_glow;
    GSprite m_combined;
    GRegion m_invalid;
    int m_baseImageState = BaseBlank;
};
