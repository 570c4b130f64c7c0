// Ref<T>: an owning reference to a reference-counted platform object, like a ComPtr.
// Copying adds a reference, destruction releases it; put() hands the slot to a creating call.
// No platform call: the program's owned references to platform objects.
#pragma once

#include <utility>

template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    // Takes a reference the caller already owns (the result of a creating call).
    static Ref Adopt(T* object) {
        Ref r;
        r.object_ = object;
        return r;
    }
    // Adds a reference of its own to an object someone else owns.
    static Ref Share(T* object) {
        if (object) object->AddRef();
        return Adopt(object);
    }
    Ref(const Ref& other) : object_(other.object_) {
        if (object_) object_->AddRef();
    }
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Ref& operator=(Ref other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~Ref() { reset(); }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // Releases the reference and empties the slot.
    void reset() {
        if (T* o = std::exchange(object_, nullptr)) o->Release();
    }
    // Empties the slot and returns its address, for calls that create an object into it.
    T** put() {
        reset();
        return &object_;
    }
    // Hands the reference to the caller without releasing it.
    T* detach() { return std::exchange(object_, nullptr); }

    friend bool operator==(const Ref& a, const Ref& b) { return a.object_ == b.object_; }
    friend bool operator==(const Ref& a, const T* b) { return a.object_ == b; }

private:
    T* object_ = nullptr;
};
