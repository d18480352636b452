#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace device {

// A piece of work that runs once: move-only, so whatever it captures has one
// owner until it has run.
class Task {
public:
    Task() = default;
    template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, Task>>>
    Task(F&& function)
        : m_callable(std::make_unique<Callable<std::decay_t<F>>>(std::forward<F>(function)))
    {
    }
    Task(Task&&) noexcept = default;
    Task& operator=(Task&&) noexcept = default;

    explicit operator bool() const { return m_callable != nullptr; }
    void operator()()
    {
        auto callable = std::move(m_callable);
        if (callable)
            callable->call();
    }

private:
    struct Base {
        virtual ~Base() = default;
        virtual void call() = 0;
    };
    template <typename F> struct Callable final : Base {
        explicit Callable(F&& f)
            : function(std::move(f))
        {
        }
        explicit Callable(const F& f)
            : function(f)
        {
        }
        void call() override { function(); }
        F function;
    };
    std::unique_ptr<Base> m_callable;
};

} // namespace device
