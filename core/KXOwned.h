// Ownership of objects whose class is only forward-declared where they are
// held. The deleter is bound when the object is made (where the class is
// complete), so a holder such as the document can own blocks, clip regions
// or glyphs without including their definitions.
#pragma once

#include <memory>
#include <utility>
#include <vector>

template <class T>
using KXOwned = std::unique_ptr<T, void (*)(T*)>;

template <class T>
using KXOwnedList = std::vector<KXOwned<T>>;

template <class T, class... Args>
KXOwned<T> KXMakeOwned(Args&&... args) {
    return KXOwned<T>(new T(std::forward<Args>(args)...), [](T* p) { delete p; });
}

template <class T>
KXOwned<T> KXNullOwned() {
    return KXOwned<T>(nullptr, [](T*) {});
}
