#pragma once

#include <cstdint>

#include "platform/device/Forward.h"

namespace network {

// The device's store of trusted certificate authorities: PEM certificates
// in one file. HTTPS reaches only servers whose chain ends in one of them; a
// device without the file trusts no server.
inline constexpr const char* trustStorePath = "/private/etc/ssl/cert.pem";

// The error domain of URL loading and the codes the device reports in it.
inline constexpr const char* urlErrorDomain = "NSURLErrorDomain";
enum URLErrorCode : int64_t {
    unknownError = -1,
    cancelled = -999,
    badURL = -1000,
    timedOut = -1001,
    unsupportedURL = -1002,
    cannotFindHost = -1003,
    cannotConnectToHost = -1004,
    networkConnectionLost = -1005,
    httpTooManyRedirects = -1007,
    badServerResponse = -1011,
    secureConnectionFailed = -1200,
    serverCertificateUntrusted = -1202,
};

// Defines URL loading in the process's run time: NSURL, NSURLRequest,
// NSHTTPURLResponse, NSOperationQueue, NSURLConnection, NSURLSession and
// NSURLSessionDataTask. Classes that exist already are left alone. Foundation's
// classes (NSError) must be defined first.
void defineClasses(device::Process&);

} // namespace network
