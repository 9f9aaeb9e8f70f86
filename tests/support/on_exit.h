// Puts back what a test changed in its process or on the machine (the
// locale, a signal's disposition, a limit, a registry key) when the test's
// scope ends: after its last check and after a failed ASSERT alike. Now()
// puts it back at once, where the test goes on without the change.
#pragma once

#include <optional>
#include <utility>

template <class Undo>
class OnExit {
public:
    explicit OnExit(Undo undo) : undo_(std::move(undo)) {}
    ~OnExit() { Now(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;
    void Now() {
        if (undo_) (*std::exchange(undo_, std::nullopt))();
    }

private:
    std::optional<Undo> undo_;
};
