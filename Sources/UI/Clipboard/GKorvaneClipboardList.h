#pragma once
// GKorvaneClipboardList: the models a transfer offers, each with the type it is offered as and whether the list
// owns it.

#include "Model/GCompoundModel.h"

#include <vector>

class GKorvaneClipboardList {
public:
    struct Item {
        GCompoundModel* model;
        GCompoundModel::Type type;
        bool owned;
    };

    GKorvaneClipboardList() = default;
    GKorvaneClipboardList(const GKorvaneClipboardList&) = delete;
    GKorvaneClipboardList& operator=(const GKorvaneClipboardList&) = delete;
    // Destroys the owned models.
    ~GKorvaneClipboardList();

    std::size_t size() const { return m_items.size(); }
    const Item& operator[](std::size_t i) const { return m_items[i]; }
    // Appends an owned copy.
    void putModel(GCompoundModel::Type type, const GCompoundModel& model);
    void putModel(GCompoundModel::Type type, GCompoundModel* model, bool owned);
    // Forgets the items without destroying any model (for lists that own nothing).
    void clear() { m_items.clear(); }

private:
    std::vector<Item> m_items;
};
