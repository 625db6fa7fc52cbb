#pragma once

#include "Exceptions.h"

#include <memory>
#include <utility>

// A shared reference to a framework object that may be nil. Using a nil
// reference raises NilObjectException instead of crashing, so callers can
// catch the failure the same way for every kind of object.
template <class T> class Ref {
  public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(std::shared_ptr<T> object) : object_(std::move(object)) {}
    template <class U> Ref(const Ref<U>& other) : object_(other.shared()) {}

    T* operator->() const { return &get(); }
    T& operator*() const { return get(); }
    T& get() const {
        if (!object_)
            throw NilObjectException();
        return *object_;
    }

    explicit operator bool() const { return object_ != nullptr; }
    bool isNil() const { return object_ == nullptr; }
    const std::shared_ptr<T>& shared() const { return object_; }

    friend bool operator==(const Ref& a, const Ref& b) { return a.object_ == b.object_; }
    friend bool operator==(const Ref& a, std::nullptr_t) { return a.object_ == nullptr; }

  private:
    std::shared_ptr<T> object_;
};

template <class T, class... Args> Ref<T> makeRef(Args&&... args) {
    return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}
