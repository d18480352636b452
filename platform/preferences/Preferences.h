#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/device/Process.h"
#include "platform/foundation/Value.h"
#include "platform/preferences/Domain.h"

namespace preferences {

// The preference object of one domain in one process (run-time class
// "HBPreferences"). Variables registered with it hold their default until a
// value is stored and follow every later change of the domain, whichever
// process made it. A stored value of the wrong type reads as the default.
class Preferences : public runtime::NSObject {
public:
    using NSObject::NSObject;

    // The process's instance for `identifier`, made on first use.
    static runtime::Ref<Preferences> forIdentifier(device::Process&, const std::string& identifier);

    const std::string& identifier() const { return m_domain->identifier(); }

    void registerBool(bool* variable, bool defaultValue, const std::string& key);
    void registerInteger(int64_t* variable, int64_t defaultValue, const std::string& key);

    // The stored value, else the registered default, else nil.
    foundation::Value objectForKey(const std::string& key) const;
    // Stores a value (nil removes it). Fails when the domain could not be
    // written.
    foundation::Result<void> setObject(const foundation::Value&, const std::string& key);
    foundation::Result<void> removeAllObjects();

    // Re-reads the domain and updates every registered variable.
    void reload();

    // Defines "HBPreferences"; does nothing when it exists.
    static void registerClass(device::Process&);

private:
    struct Registration {
        std::string key;
        bool* boolean;
        int64_t* integer;
        int64_t defaultValue;
    };

    void attach(device::Process&, const std::string& identifier);
    void update(const Registration&, const foundation::Value& values) const;
    foundation::Value defaultFor(const std::string& key) const;

    device::Process* m_process { nullptr };
    std::unique_ptr<Domain> m_domain;
    std::vector<Registration> m_registrations;
    foundation::Value m_values;
};

// Defines "HBPreferences" in the process's run time.
void defineClasses(device::Process&);

} // namespace preferences
