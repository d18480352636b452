#pragma once

namespace network {

class HTTPURLResponse;
class OperationQueue;
class URL;
class URLConnection;
class URLLoader;
class URLRequest;
class URLSession;
class URLSessionDataTask;
struct LoadError;
struct LoadRequest;
struct LoadResponse;

} // namespace network
