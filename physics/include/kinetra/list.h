/// @file
/// The ordered list used by the engine's registries, body members and level objects.
///
/// Links are weak handles to a list node, so a link outlives its list safely: once the
/// list is dropped (or the element removed), removing through the link does nothing.
///
/// Iteration: a range-for over a list may modify other lists freely, and may remove
/// elements other than the one being visited. Removing the element currently visited
/// invalidates the iteration; loops that remove what they visit copy first (ToArray or
/// CopyTo) and walk the copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace kinetra {

/// The last stamp given to a list (see TList::Stamp).
inline std::uint64_t lastListStamp = 0;

/// The links of one node of a TList, seen by TLink.
struct TListNodeBase {
    std::shared_ptr<TListNodeBase> next; ///< The next node, held strongly.
    TListNodeBase* prev = nullptr;       ///< The previous node.
    const void* owner = nullptr;         ///< the list holding this node; null once it left it
};

/// A small copyable handle to one element of one list. Empty when default-made.
class TLink {
public:
    TLink() = default;
    /// A handle to listNode; Append makes these.
    explicit TLink(const std::shared_ptr<TListNodeBase>& listNode) : node(listNode) {}

    /// True while the element is still in a list.
    bool Valid() const {
        auto held = node.lock();
        return held && held->owner != nullptr;
    }
    /// Valid().
    explicit operator bool() const { return Valid(); }
    /// Forgets the node; the link becomes empty.
    void Reset() { node.reset(); }

    /// The node, or Null once it is gone.
    std::shared_ptr<TListNodeBase> Lock() const { return node.lock(); }

private:
    std::weak_ptr<TListNodeBase> node;
};

/// An ordered list of shared references to T, appended at the end and removed
/// by link: the engine's registries, a body's members, the level's objects. It
/// holds a reference to each element. Not copyable.
template <class T> class TList {
public:
    using Ref = std::shared_ptr<T>; ///< An element, shared.

    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    ~TList() { Clear(); }

    /// Appends at the end; the link identifies this entry for Remove.
    TLink Append(Ref value) {
        auto node = std::make_shared<Node>();
        node->value = std::move(value);
        node->owner = this;
        node->prev = tail;
        if (tail) {
            tail->next = node;
        } else {
            head = node;
        }
        tail = node.get();
        ++count;
        Restamp();
        return TLink(node);
    }

    /// Removes the entry of link. Links of another or a dropped list, removed links and
    /// empty links are ignored.
    void Remove(const TLink& link) {
        auto node = link.Lock();
        if (!node || node->owner != this) {
            return;
        }
        node->owner = nullptr;
        auto following = std::move(node->next);
        if (following) {
            following->prev = node->prev;
        } else {
            tail = node->prev;
        }
        if (node->prev) {
            node->prev->next = std::move(following);
        } else {
            head = std::move(following);
        }
        node->prev = nullptr;
        --count;
        Restamp();
        node.reset();
    }

    /// The link of value's first entry, or an empty link.
    TLink Find(const T* value) const {
        for (auto* node = head.get(); node; node = node->next.get()) {
            if (static_cast<Node*>(node)->value.get() == value) {
                return TLink(Share(node));
            }
        }
        return TLink();
    }
    /// The link of value's first entry, or an empty link.
    TLink Find(const Ref& value) const { return Find(value.get()); }

    /// Whether value is in the list.
    bool Contains(const T* value) const { return static_cast<bool>(Find(value)); }
    /// Whether value is in the list.
    bool Contains(const Ref& value) const { return Contains(value.get()); }

    /// The elements in order, as a new array.
    std::vector<Ref> ToArray() const {
        std::vector<Ref> out;
        CopyTo(out);
        return out;
    }

    /// Replaces the contents of out, reusing its capacity.
    void CopyTo(std::vector<Ref>& out) const {
        out.clear();
        for (auto* node = head.get(); node; node = node->next.get()) {
            out.push_back(static_cast<Node*>(node)->value);
        }
    }

    /// How many elements it holds.
    std::size_t Count() const { return count; }

    /// A number that changes whenever an element is added or removed and that no other
    /// list, nor this one at another time, ever has: equal stamps mean the same list
    /// with the same elements in the same order.
    std::uint64_t Stamp() const { return stamp; }
    /// Whether it holds nothing.
    bool Empty() const { return count == 0; }

    /// Unlinks node by node, so a long list never recurses through its destructors.
    /// An element's destructor may run here and change this list: the list is consistent
    /// whenever an element is released.
    void Clear() {
        while (head) {
            auto first = std::move(head);
            head = std::move(first->next);
            if (head) {
                head->prev = nullptr;
            } else {
                tail = nullptr;
            }
            first->owner = nullptr;
            --count;
            Restamp();
            first.reset();
        }
    }

    /// Walks the list forward; see the file's note on changing a list while
    /// walking it.
    class Iterator {
    public:
        /// At start; Null is the end.
        explicit Iterator(TListNodeBase* start) : node(start) {}
        /// The element here.
        const Ref& operator*() const { return static_cast<Node*>(node)->value; }
        /// On to the next element.
        Iterator& operator++() {
            node = node->next.get();
            return *this;
        }
        /// Whether both are at the same element.
        bool operator==(const Iterator& other) const { return node == other.node; }
        /// Whether they are at different elements.
        bool operator!=(const Iterator& other) const { return node != other.node; }

    private:
        TListNodeBase* node;
    };

    /// At the first element.
    Iterator begin() const { return Iterator(head.get()); }
    /// Past the last element.
    Iterator end() const { return Iterator(nullptr); }

private:
    struct Node : TListNodeBase {
        Ref value;
    };

    /// The strong reference to a node is held by its predecessor (or by head).
    std::shared_ptr<TListNodeBase> Share(TListNodeBase* node) const {
        return node->prev ? node->prev->next : head;
    }

    void Restamp() { stamp = ++lastListStamp; }

    std::shared_ptr<TListNodeBase> head;
    TListNodeBase* tail = nullptr;
    std::size_t count = 0;
    std::uint64_t stamp = ++lastListStamp;
};

} // namespace kinetra
