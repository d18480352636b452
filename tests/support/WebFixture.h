#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/device/Device.h"
#include "platform/network/Network.h"

#include "tools/brix/scenario/CertificateAuthority.h"
#include "tools/brix/scenario/WebServer.h"

// A real web on this machine for a device: a throw-away certificate
// authority, HTTP and HTTPS servers on 127.0.0.1 with the given answers, and
// what a device needs to reach them (its network routes, its trust store).
class WebFixture {
public:
    using Answers = std::map<std::string, tools::scenario::WebServer::Answer>;

    explicit WebFixture(Answers answers)
        : m_server(std::move(answers), m_authority)
    {
        if (auto started = m_server.start(); !started)
            throw std::runtime_error(started.error().message);
    }

    tools::scenario::WebServer& server() { return m_server; }

    // The device's hardware with routes to every host of the answers.
    device::Hardware hardware(device::Hardware hardware = {}) const
    {
        hardware.network = m_server.networkSettings();
        return hardware;
    }

    // Writes the authority into the device's trust store.
    void trustOn(device::Device& device) const
    {
        auto host = device.hostPath(network::trustStorePath);
        std::filesystem::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary | std::ios::trunc) << m_authority.certificatePem();
    }

private:
    tools::scenario::CertificateAuthority m_authority;
    tools::scenario::WebServer m_server;
};

// Answers of the web, by kind.
inline tools::scenario::WebServer::Answer answer(int status, std::string body)
{
    tools::scenario::WebServer::Answer made;
    made.status = status;
    made.body = std::move(body);
    return made;
}
inline tools::scenario::WebServer::Answer redirection(int status, std::string location)
{
    auto made = answer(status, {});
    made.location = std::move(location);
    return made;
}
inline tools::scenario::WebServer::Answer hanging()
{
    auto made = answer(200, {});
    made.hang = true;
    return made;
}
inline tools::scenario::WebServer::Answer endless()
{
    auto made = answer(200, {});
    made.endless = true;
    return made;
}

// Runs the device's work in steps of 10 ms until `done` answers true or
// `maxSeconds` of device time have passed; answers whether it was done.
inline bool runUntil(device::Device& device, const std::function<bool()>& done, double maxSeconds = 10)
{
    double end = device.scheduler().now() + maxSeconds;
    while (!done()) {
        if (device.scheduler().now() >= end || !device.scheduler().advance(0.01, 100000))
            return false;
    }
    return true;
}
