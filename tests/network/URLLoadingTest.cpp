#include <algorithm>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/device/Process.h"
#include "platform/foundation/Classes.h"
#include "platform/foundation/ErrorObject.h"
#include "platform/network/Network.h"
#include "platform/network/OperationQueue.h"
#include "platform/network/URLLoader.h"
#include "platform/network/URLRequest.h"
#include "platform/runtime/Send.h"

#include "tests/support/TempDirectory.h"
#include "tests/support/WebFixture.h"

using foundation::Value;
using runtime::Block;
using runtime::Object;
using runtime::Ref;
using runtime::send;

namespace {

constexpr const char* pictureUrl = "https://pbs.twimg.com/profile_images/1/a.jpg";

// A device whose network reaches the answers of a real web on this machine,
// and one process with Foundation and URL loading.
class NetworkDevice {
public:
    enum class Trust { Authority, Nothing };

    explicit NetworkDevice(WebFixture::Answers answers, Trust trust = Trust::Authority)
        : m_web(std::move(answers))
        , m_device(std::make_unique<device::Device>(m_root.path(), m_web.hardware()))
    {
        if (trust == Trust::Authority)
            m_web.trustOn(*m_device);
        m_process = std::make_unique<device::Process>(*m_device, "com.example.network-test");
        foundation::defineClasses(m_process->runtime());
        network::defineClasses(*m_process);
    }
    ~NetworkDevice() { m_process.reset(); }

    device::Device& device() { return *m_device; }
    device::Process& process() { return *m_process; }
    runtime::Runtime& runtime() { return m_process->runtime(); }
    WebFixture& web() { return m_web; }

    Ref<Object> request(const Value& url, double timeout = 60)
    {
        auto address = send<Ref<Object>>(runtime().classNamed("NSURL"), SEL("URLWithString:"), url);
        return send<Ref<Object>>(runtime().classNamed("NSURLRequest"),
            SEL("requestWithURL:cachePolicy:timeoutInterval:"), address, uint64_t(0), timeout);
    }
    Ref<Object> mainQueue() { return send<Ref<Object>>(runtime().classNamed("NSOperationQueue"), SEL("mainQueue")); }
    Ref<Object> newQueue() { return runtime::newObject(runtime().classNamed("NSOperationQueue")); }

    std::vector<std::string> tracedRequests()
    {
        std::vector<std::string> urls;
        for (auto& event : m_device->trace().eventsOfType("http.request"))
            urls.push_back(event["url"]);
        return urls;
    }

private:
    TempDirectory m_root;
    WebFixture m_web;
    std::unique_ptr<device::Device> m_device;
    std::unique_ptr<device::Process> m_process;
};

// A listener on a free port of 127.0.0.1 that counts the connections made to it
// (completed by the kernel whether or not anyone accepts them).
class ProbeListener {
public:
    ProbeListener()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0
            || ::listen(m_socket, 16) != 0 || ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length))
            throw std::runtime_error("cannot open a probe listener on 127.0.0.1");
        m_port = ntohs(address.sin_port);
    }
    ~ProbeListener() { ::close(m_socket); }
    ProbeListener(const ProbeListener&) = delete;
    ProbeListener& operator=(const ProbeListener&) = delete;

    uint16_t port() const { return m_port; }
    int connections()
    {
        int count = 0;
        for (int accepted; (accepted = ::accept(m_socket, nullptr, nullptr)) >= 0; ++count)
            ::close(accepted);
        return count;
    }

private:
    int m_socket { -1 };
    uint16_t m_port { 0 };
};

// What one +sendAsynchronousRequest:queue:completionHandler: answered.
struct Outcome {
    bool done { false };
    Value response;
    Value data;
    Value error;

    int64_t status() const { return send<int64_t>(response.object(), SEL("statusCode")); }
    int64_t errorCode() const
    {
        auto* failure = dynamic_cast<foundation::ErrorObject*>(error.object());
        return failure ? failure->code() : 0;
    }
};

std::shared_ptr<Outcome> load(NetworkDevice& test, const Ref<Object>& request, const Ref<Object>& queue)
{
    auto outcome = std::make_shared<Outcome>();
    Block<void(Value, Value, Value)> completion = [outcome](Value response, Value data, Value error) {
        *outcome = { true, response, data, error };
    };
    send(test.runtime().classNamed("NSURLConnection"), SEL("sendAsynchronousRequest:queue:completionHandler:"), request,
        queue, completion);
    return outcome;
}

std::shared_ptr<Outcome> loadAndWait(NetworkDevice& test, const Value& url, double timeout = 60)
{
    auto outcome = load(test, test.request(url, timeout), test.mainQueue());
    EXPECT_TRUE(runUntil(
        test.device(), [&] { return outcome->done; }, timeout + 5))
        << describe(url);
    return outcome;
}

std::string textOf(const Value& data)
{
    return std::string(data.data().begin(), data.data().end());
}

} // namespace

TEST(URLLoading, urlsAreAbsoluteAndRequestsDefaultToTheProtocolPolicyAndAMinute)
{
    NetworkDevice test({});
    auto* urlClass = test.runtime().classNamed("NSURL");
    auto url = send<Ref<Object>>(urlClass, SEL("URLWithString:"), Value("HTTPS://Example.com/a/b?c=1"));
    ASSERT_TRUE(url);
    EXPECT_EQ(send<Value>(url, SEL("absoluteString")), Value("HTTPS://Example.com/a/b?c=1")) << "kept as given";
    EXPECT_EQ(send<Value>(url, SEL("host")), Value("Example.com"));
    EXPECT_EQ(send<Value>(url, SEL("path")), Value("/a/b"));
    EXPECT_EQ(send<Value>(url, SEL("query")), Value("c=1"));
    for (const char* notAUrl : { "not a url", "", "noscheme", "http://exa mple.com/" })
        EXPECT_FALSE(send<Ref<Object>>(urlClass, SEL("URLWithString:"), Value(notAUrl))) << notAUrl;
    EXPECT_FALSE(send<Ref<Object>>(urlClass, SEL("URLWithString:"), Value(42)));

    auto request = send<Ref<Object>>(test.runtime().classNamed("NSURLRequest"), SEL("requestWithURL:"), url);
    EXPECT_EQ(send<uint64_t>(request, SEL("cachePolicy")), 0u);
    EXPECT_DOUBLE_EQ(send<double>(request, SEL("timeoutInterval")), 60);
    EXPECT_EQ(send<Ref<Object>>(request, SEL("URL")).get(), url.get());
    EXPECT_DOUBLE_EQ(send<double>(test.request(Value("https://a.example/"), -3), SEL("timeoutInterval")), 60);
}

TEST(URLLoading, loadsOverHttpsFromTheHostTheDeviceIsLedToAndTracesTheRequest)
{
    NetworkDevice test({ { pictureUrl, answer(200, "picture bytes") } });
    auto outcome = load(test, test.request(Value(pictureUrl)), test.mainQueue());
    EXPECT_FALSE(outcome->done) << "the completion comes on a later turn";
    ASSERT_TRUE(runUntil(test.device(), [&] { return outcome->done; }));
    EXPECT_TRUE(outcome->error.isNil());
    EXPECT_EQ(outcome->status(), 200);
    EXPECT_EQ(textOf(outcome->data), "picture bytes");
    EXPECT_EQ(send<Value>(send<Ref<Object>>(outcome->response.object(), SEL("URL")), SEL("absoluteString")),
        Value(pictureUrl));
    EXPECT_EQ(test.tracedRequests(), std::vector<std::string> { pictureUrl });
    EXPECT_EQ(test.web().server().requests(),
        std::vector<std::string> { "https://pbs.twimg.com:443/profile_images/1/a.jpg" });
    EXPECT_EQ(network::URLLoader::of(test.process()).activeCount(), 0u);
}

// Statuses are answers, not errors; redirections are followed through the same checks.
TEST(URLLoading, deliversStatusCodesAndFollowsRedirections)
{
    NetworkDevice test({ { "https://mobile.twitter.com/gone", answer(404, "not here") },
        { "https://mobile.twitter.com/moved", redirection(301, "/ann") },
        { "https://mobile.twitter.com/ann", answer(200, "<html>ann</html>") },
        { "https://mobile.twitter.com/nowhere", answer(301, "") },
        { "https://mobile.twitter.com/away", redirection(302, "https://elsewhere.example/") },
        { "https://mobile.twitter.com/loop", redirection(302, "/loop") } });
    auto gone = loadAndWait(test, "https://mobile.twitter.com/gone");
    EXPECT_EQ(gone->status(), 404);
    EXPECT_EQ(textOf(gone->data), "not here");

    auto moved = loadAndWait(test, "https://mobile.twitter.com/moved");
    EXPECT_EQ(moved->status(), 200);
    EXPECT_EQ(textOf(moved->data), "<html>ann</html>");
    EXPECT_EQ(send<Value>(send<Ref<Object>>(moved->response.object(), SEL("URL")), SEL("absoluteString")),
        Value("https://mobile.twitter.com/ann"));

    auto nowhere = loadAndWait(test, "https://mobile.twitter.com/nowhere");
    EXPECT_EQ(nowhere->status(), 301) << "without a Location there is nothing to follow";

    EXPECT_EQ(loadAndWait(test, "https://mobile.twitter.com/away")->errorCode(), network::cannotFindHost);
    EXPECT_EQ(loadAndWait(test, "https://mobile.twitter.com/loop")->errorCode(), network::httpTooManyRedirects);
}

TEST(URLLoading, theSealedNetworkReachesOnlyItsOwnServer)
{
    ProbeListener probe;
    std::string other = std::to_string(probe.port());
    NetworkDevice test({ { pictureUrl, answer(200, "x") }, { "http://plain.example/page", answer(200, "plain") },
        { "http://plain.example/away", redirection(302, "http://127.0.0.1:" + other + "/stolen") } });
    auto unknown = loadAndWait(test, "https://www.example.com/");
    EXPECT_EQ(unknown->errorCode(), network::cannotFindHost);
    EXPECT_TRUE(unknown->response.isNil());
    EXPECT_TRUE(unknown->data.isNil());
    EXPECT_EQ(dynamic_cast<foundation::ErrorObject*>(unknown->error.object())->domain(), "NSURLErrorDomain");

    EXPECT_EQ(textOf(loadAndWait(test, "http://plain.example/page")->data), "plain");
    std::string direct = "http://127.0.0.1:" + std::to_string(test.web().server().httpPort()) + "/page";
    // The device's own server is reachable at its address: it hears the request (and cuts it off, having no
    // answer for it).
    EXPECT_EQ(loadAndWait(test, Value(direct))->errorCode(), network::networkConnectionLost);
    EXPECT_EQ(test.web().server().requests().back(), direct);

    // Any other port or address of this machine, or beyond it, is not on the device's network.
    for (const std::string& elsewhere :
        std::vector<std::string> { "http://127.0.0.1:" + other + "/", "http://localhost:" + other + "/",
            "http://[::1]:" + other + "/", "https://127.0.0.1:" + other + "/", "http://127.0.0.2:" + other + "/",
            "http://0.0.0.0:" + other + "/", "http://10.0.0.1/", "http://127.0.0.1/", "http://localhost/",
            "http://2130706433:" + other + "/", "http://plain.example:" + other + "/page" }) {
        auto outcome = loadAndWait(test, Value(elsewhere));
        EXPECT_TRUE(
            outcome->errorCode() == network::cannotConnectToHost || outcome->errorCode() == network::cannotFindHost)
            << elsewhere << " answered " << outcome->errorCode();
        EXPECT_TRUE(outcome->response.isNil()) << elsewhere;
    }
    // A redirection from the sealed web does not lead out of it either.
    EXPECT_EQ(loadAndWait(test, "http://plain.example/away")->errorCode(), network::cannotConnectToHost);
    EXPECT_EQ(probe.connections(), 0) << "a request reached a listener on another port of this machine";

    for (const char* refused : { "file:///etc/passwd", "ftp://ftp.example.com/file" })
        EXPECT_EQ(loadAndWait(test, refused)->errorCode(), network::unsupportedURL) << refused;
    auto noUrl = load(test,
        send<Ref<Object>>(
            test.runtime().classNamed("NSURLRequest"), SEL("requestWithURL:"), static_cast<Object*>(nullptr)),
        test.mainQueue());
    ASSERT_TRUE(runUntil(test.device(), [&] { return noUrl->done; }));
    EXPECT_EQ(noUrl->errorCode(), network::unsupportedURL);

    // A request for a URL the web does not answer is cut off.
    EXPECT_EQ(loadAndWait(test, "https://pbs.twimg.com/profile_images/unknown.jpg")->errorCode(),
        network::networkConnectionLost);
    auto traced = test.tracedRequests();
    EXPECT_EQ(std::count(traced.begin(), traced.end(), direct), 1);
    EXPECT_EQ(std::count(traced.begin(), traced.end(), "http://127.0.0.1:" + other + "/stolen"), 1)
        << "a refused request is traced like any other";
}

TEST(URLLoading, httpsTrustsOnlyTheDevicesTrustStore)
{
    NetworkDevice test({ { pictureUrl, answer(200, "x") } }, NetworkDevice::Trust::Nothing);
    EXPECT_EQ(loadAndWait(test, pictureUrl)->errorCode(), network::serverCertificateUntrusted);
}

TEST(URLLoading, aServerThatDoesNotAnswerTimesOutInDeviceTime)
{
    NetworkDevice test({ { pictureUrl, hanging() } });
    double start = test.device().scheduler().now();
    auto outcome = load(test, test.request(Value(pictureUrl), 0.5), test.mainQueue());
    ASSERT_TRUE(runUntil(
        test.device(), [&] { return outcome->done; }, 5));
    EXPECT_EQ(outcome->errorCode(), network::timedOut);
    EXPECT_NEAR(test.device().scheduler().now() - start, 0.5, 0.05);
}

TEST(URLLoading, completionsRunOnTheQueueTheyWereGiven)
{
    NetworkDevice test({ { pictureUrl, answer(200, "x") } });
    auto queue = test.newQueue();
    auto outcome = load(test, test.request(Value(pictureUrl)), queue);
    ASSERT_TRUE(runUntil(test.device(), [&] { return outcome->done; }));

    auto closed = test.newQueue();
    dynamic_cast<network::OperationQueue*>(closed.get())->dispatchQueue()->close();
    auto dropped = load(test, test.request(Value(pictureUrl)), closed);
    EXPECT_FALSE(runUntil(
        test.device(), [&] { return dropped->done; }, 1))
        << "a closed queue runs nothing";
    EXPECT_EQ(network::URLLoader::of(test.process()).activeCount(), 0u);
}

namespace {

// A connection delegate that records what it hears, and may cancel after some bytes.
class RecordingDelegate : public runtime::NSObject {
public:
    using NSObject::NSObject;

    std::vector<std::string> events;
    size_t bytes { 0 };
    size_t cancelAfter { SIZE_MAX };

    static Ref<RecordingDelegate> make(runtime::Runtime& runtime)
    {
        if (!runtime.classNamed("TestConnectionDelegate")) {
            auto& cls = runtime.defineClass<RecordingDelegate>("TestConnectionDelegate", "NSObject");
            runtime.define(cls, SEL("connection:didReceiveResponse:"),
                runtime::Imp::of([](RecordingDelegate* self, runtime::Selector, Object*, Object* response) {
                    self->events.push_back("response " + std::to_string(send<int64_t>(response, SEL("statusCode"))));
                }));
            runtime.define(cls, SEL("connection:didReceiveData:"),
                runtime::Imp::of([](RecordingDelegate* self, runtime::Selector, Object* connection, Value data) {
                    if (self->events.empty() || self->events.back() != "data")
                        self->events.push_back("data");
                    self->bytes += data.data().size();
                    if (self->bytes >= self->cancelAfter)
                        send(connection, SEL("cancel"));
                }));
            runtime.define(cls, SEL("connectionDidFinishLoading:"),
                runtime::Imp::of(
                    [](RecordingDelegate* self, runtime::Selector, Object*) { self->events.push_back("finished"); }));
            runtime.define(cls, SEL("connection:didFailWithError:"),
                runtime::Imp::of([](RecordingDelegate* self, runtime::Selector, Object*, Value) {
                    self->events.push_back("failed");
                }));
        }
        return Ref<RecordingDelegate>(
            dynamic_cast<RecordingDelegate*>(runtime::newObject(runtime.classNamed("TestConnectionDelegate")).get()));
    }
};

Ref<Object> connect(NetworkDevice& test, const Value& url, Object* delegate)
{
    auto connection = send<Ref<Object>>(runtime::alloc(test.runtime().classNamed("NSURLConnection")),
        SEL("initWithRequest:delegate:startImmediately:"), test.request(url), delegate, false);
    send(connection, SEL("setDelegateQueue:"), test.mainQueue());
    send(connection, SEL("start"));
    return connection;
}

} // namespace

TEST(URLLoading, aConnectionTellsItsDelegateAndStopsTellingAfterCancel)
{
    std::string big(300 * 1024, 'b');
    NetworkDevice test({ { pictureUrl, answer(200, big) }, { "https://pbs.twimg.com/endless", endless() } });
    auto delegate = RecordingDelegate::make(test.runtime());
    connect(test, pictureUrl, delegate.get());
    ASSERT_TRUE(
        runUntil(test.device(), [&] { return !delegate->events.empty() && delegate->events.back() == "finished"; }));
    EXPECT_EQ(delegate->events, (std::vector<std::string> { "response 200", "data", "finished" }));
    EXPECT_EQ(delegate->bytes, big.size());

    // A body that never ends stops when the delegate cancels; nothing is heard after.
    auto endless = RecordingDelegate::make(test.runtime());
    endless->cancelAfter = 1024 * 1024;
    connect(test, "https://pbs.twimg.com/endless", endless.get());
    ASSERT_TRUE(runUntil(test.device(), [&] { return endless->bytes >= endless->cancelAfter; }));
    size_t bytesAtCancel = endless->bytes;
    test.device().scheduler().advance(1, 100000);
    EXPECT_EQ(endless->bytes, bytesAtCancel);
    EXPECT_EQ(endless->events, (std::vector<std::string> { "response 200", "data" }));
    EXPECT_EQ(network::URLLoader::of(test.process()).activeCount(), 0u);
}

TEST(URLLoading, theSharedSessionCompletesOnItsOwnQueue)
{
    NetworkDevice test({ { pictureUrl, answer(200, "x") } });
    auto session = send<Ref<Object>>(test.runtime().classNamed("NSURLSession"), SEL("sharedSession"));
    EXPECT_EQ(session.get(), send<Ref<Object>>(test.runtime().classNamed("NSURLSession"), SEL("sharedSession")).get());
    auto* queue = dynamic_cast<network::OperationQueue*>(send<Ref<Object>>(session, SEL("delegateQueue")).get());
    ASSERT_NE(queue, nullptr);
    EXPECT_NE(queue->dispatchQueue(), &test.process().mainQueue());

    auto outcome = std::make_shared<Outcome>();
    Block<void(Value, Value, Value)> completion = [outcome](Value data, Value response, Value error) {
        *outcome = { true, response, data, error };
    };
    auto task = send<Ref<Object>>(
        session, SEL("dataTaskWithRequest:completionHandler:"), test.request(Value(pictureUrl)), completion);
    EXPECT_EQ(send<int64_t>(task, SEL("state")), 1) << "a task is made suspended";
    test.device().scheduler().advance(0.5, 100000);
    EXPECT_TRUE(test.tracedRequests().empty());
    send(task, SEL("resume"));
    EXPECT_EQ(send<int64_t>(task, SEL("state")), 0);
    ASSERT_TRUE(runUntil(test.device(), [&] { return outcome->done; }));
    EXPECT_EQ(textOf(outcome->data), "x");
    EXPECT_EQ(outcome->status(), 200);
    EXPECT_EQ(send<int64_t>(task, SEL("state")), 3);

    auto cancelled = std::make_shared<Outcome>();
    Block<void(Value, Value, Value)> cancelledCompletion = [cancelled](Value data, Value response, Value error) {
        *cancelled = { true, response, data, error };
    };
    auto second = send<Ref<Object>>(
        session, SEL("dataTaskWithRequest:completionHandler:"), test.request(Value(pictureUrl)), cancelledCompletion);
    send(second, SEL("resume"));
    send(second, SEL("cancel"));
    ASSERT_TRUE(runUntil(test.device(), [&] { return cancelled->done; }));
    EXPECT_EQ(cancelled->errorCode(), network::cancelled);
    queue->dispatchQueue()->close();
}
