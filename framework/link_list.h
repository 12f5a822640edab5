#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kw {

// An intrusive, ordered list of T (which holds one Hook per list it can be in). Appending and
// removing are O(1), so large numbers of links come and go cheaply. Walks use a Cursor that
// survives the removal of any node, including the current one and the next one, while the
// callbacks of a walk create and destroy links.
template <class T>
class TKwIntrusiveList {
public:
    struct Hook {
        T* prev = nullptr;
        T* next = nullptr;
        bool linked = false;
    };
    using HookOf = Hook T::*;

    explicit TKwIntrusiveList(HookOf hook) : hook_(hook) {}

    bool Empty() const { return count_ == 0; }
    std::size_t Count() const { return count_; }
    T* First() const { return head_; }
    T* Last() const { return tail_; }
    bool Contains(const T& item) const { return (item.*hook_).linked; }

    void Append(T& item) {
        Hook& h = item.*hook_;
        if (h.linked)
            return;
        h.prev = tail_;
        h.next = nullptr;
        h.linked = true;
        (tail_ ? (tail_->*hook_).next : head_) = &item;
        tail_ = &item;
        ++count_;
    }

    void Remove(T& item) {
        Hook& h = item.*hook_;
        if (!h.linked)
            return;
        for (Observer* o : observers_)
            o->Unlinking(item);
        (h.prev ? (h.prev->*hook_).next : head_) = h.next;
        (h.next ? (h.next->*hook_).prev : tail_) = h.prev;
        h = Hook{};
        --count_;
    }

    void Clear() {
        while (head_ != nullptr)
            Remove(*head_);
    }

    // Told before a node leaves the list, so walks never touch a node that may be freed.
    class Observer {
    public:
        explicit Observer(TKwIntrusiveList& list) : list_(list) {
            list_.observers_.push_back(this);
        }
        virtual ~Observer() { std::erase(list_.observers_, this); }
        Observer(const Observer&) = delete;
        Observer& operator=(const Observer&) = delete;
        virtual void Unlinking(T& item) = 0;

    protected:
        TKwIntrusiveList& list_;
    };

    // A copy of some of the nodes; entries that leave the list meanwhile become null.
    class Snapshot : public Observer {
    public:
        template <class Pred>
        Snapshot(TKwIntrusiveList& list, Pred keep) : Observer(list) {
            for (T* item = list.head_; item != nullptr; item = (item->*(list.hook_)).next) {
                if (keep(*item))
                    items.push_back(item);
            }
        }
        void Unlinking(T& item) override {
            std::replace(items.begin(), items.end(), &item, static_cast<T*>(nullptr));
        }
        std::vector<T*> items;
    };

    // Walks the list forwards or backwards. Take the current node with Next(); nodes removed
    // during the walk are skipped; nodes appended after the walk passed the end are not visited.
    class Cursor : public Observer {
    public:
        Cursor(TKwIntrusiveList& list, bool backwards)
            : Observer(list),
              backwards_(backwards),
              pending_(backwards ? list.tail_ : list.head_) {}

        T* Next() {
            current_ = pending_;
            currentGone_ = false;
            if (current_ != nullptr)
                pending_ = Step(*current_);
            return current_;
        }
        // True when the node last returned by Next has left the list (it may be destroyed).
        bool CurrentGone() const { return currentGone_; }

        void Unlinking(T& item) override {
            if (pending_ == &item)
                pending_ = Step(item);
            if (current_ == &item)
                currentGone_ = true;
        }

    private:
        T* Step(T& item) const {
            const Hook& h = item.*(this->list_.hook_);
            return backwards_ ? h.prev : h.next;
        }

        bool backwards_;
        T* pending_;
        T* current_ = nullptr;
        bool currentGone_ = false;
    };

private:
    HookOf hook_;
    T* head_ = nullptr;
    T* tail_ = nullptr;
    std::size_t count_ = 0;
    std::vector<Observer*> observers_;
};

}  // namespace kw
