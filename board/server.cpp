#include "board/server.h"

#include "board/rate_limit.h"
#include "board/work_queue.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace board {

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = net::ip::tcp;

struct Server::Shared {
    Shared(Api& api, ServerLimits limits) : api(api), limits(limits)
    {
        verifications.emplace(limits.workers > 0 ? limits.workers
                                                 : static_cast<int>(std::max(
                                                       1u, std::thread::hardware_concurrency())),
                              limits.waitingGames);
    }
    Api& api;
    ServerLimits limits;
    RateLimit submissions;
    std::atomic<int> open{0};
    std::optional<WorkQueue> verifications;
};

namespace {

constexpr const char* kServerName = "zelvatron-board";
constexpr std::chrono::seconds kLinger{2}; // reading what is left of a refused request

class Session : public std::enable_shared_from_this<Session> {
public:
    Session(tcp::socket socket, Server::Shared& shared)
        : m_stream(std::move(socket)), m_shared(shared)
    {
        ++m_shared.open;
        beast::error_code error;
        const tcp::endpoint peer = m_stream.socket().remote_endpoint(error);
        m_peer = error ? std::string() : peer.address().to_string();
        m_peerIsLocal = !error && peer.address().is_loopback();
    }
    ~Session() { --m_shared.open; }

    void start()
    {
        net::dispatch(m_stream.get_executor(),
                      beast::bind_front_handler(&Session::readRequest, shared_from_this()));
    }

private:
    void readRequest()
    {
        m_parser.emplace();
        m_parser->header_limit(static_cast<std::uint32_t>(m_shared.limits.headerBytes));
        m_parser->body_limit(m_shared.limits.bodyBytes);
        m_stream.expires_after(m_shared.limits.requestTime);
        http::async_read_header(m_stream, m_buffer, *m_parser,
                                beast::bind_front_handler(&Session::onHeader, shared_from_this()));
    }

    void onHeader(beast::error_code error, std::size_t)
    {
        if (error == http::error::header_limit)
            return send(errorResponse(431, "The request's header is too large."), true);
        // The parser checks an announced length against the limit as the header ends.
        if (error == http::error::body_limit)
            return send(tooLarge(), true);
        if (error)
            return close(); // the client went, stalled past its time or sent no HTTP
        const auto& request = m_parser->get();
        if (request[http::field::expect] == "100-continue") {
            auto go = std::make_shared<http::response<http::empty_body>>(http::status::continue_,
                                                                         request.version());
            return http::async_write(
                m_stream, *go,
                [self = shared_from_this(), go](beast::error_code error, std::size_t) {
                    if (error)
                        return self->close();
                    self->readBody();
                });
        }
        readBody();
    }

    void readBody()
    {
        http::async_read(m_stream, m_buffer, *m_parser,
                         beast::bind_front_handler(&Session::onRequest, shared_from_this()));
    }

    void onRequest(beast::error_code error, std::size_t)
    {
        if (error == http::error::body_limit)
            return send(tooLarge(), true);
        if (error)
            return close();
        m_stream.expires_never(); // a submission may wait for a worker
        http::request<http::string_body> request = m_parser->release();
        m_keepAlive = request.keep_alive();
        const std::string_view target(request.target().data(), request.target().size());
        if (request.method() == http::verb::get)
            return send(m_shared.api.get(target), !m_keepAlive);
        if (request.method() == http::verb::post && target == "/api/games") {
            const auto forwardedFor = request["X-Forwarded-For"];
            return submit(std::move(request.body()),
                          std::string(forwardedFor.data(), forwardedFor.size()));
        }
        Response refused = errorResponse(405, "This address does not take that method.");
        refused.headers.emplace_back("Allow", target == "/api/games" ? "POST" : "GET");
        send(std::move(refused), !m_keepAlive);
    }

    void submit(std::string recording, const std::string& forwardedFor)
    {
        std::chrono::seconds wait{};
        if (!m_shared.submissions.take(address(forwardedFor), RateLimit::Clock::now(), wait)) {
            Response slowDown = errorResponse(429, "Too many games sent from this address. "
                                                   "Please wait a little and send them again.");
            slowDown.headers.emplace_back("Retry-After", std::to_string(wait.count()));
            return send(std::move(slowDown), !m_keepAlive);
        }
        const bool queued = m_shared.verifications->tryPush([self = shared_from_this(),
                                                             recording = std::move(recording)] {
            Response answer = self->m_shared.api.submit(recording);
            net::post(self->m_stream.get_executor(), [self, answer = std::move(answer)]() mutable {
                self->send(std::move(answer), !self->m_keepAlive);
            });
        });
        if (!queued) {
            Response busy = errorResponse(503, "The board is busy playing other games. "
                                               "Please send this one again in a moment.");
            busy.headers.emplace_back("Retry-After", "2");
            send(std::move(busy), !m_keepAlive);
        }
    }

    // The address a submission is counted against: behind a proxy on this machine, the one
    // it forwarded for.
    std::string address(const std::string& forwardedFor) const
    {
        if (!m_peerIsLocal || forwardedFor.empty())
            return m_peer;
        const std::size_t comma = forwardedFor.rfind(',');
        std::string last = forwardedFor.substr(comma == std::string::npos ? 0 : comma + 1);
        last.erase(0, last.find_first_not_of(' '));
        return last;
    }

    Response tooLarge() const
    {
        return errorResponse(413, "The recording is larger than the board takes (" +
                                      std::to_string(m_shared.limits.bodyBytes / (1024 * 1024)) +
                                      " MiB).");
    }

    void send(Response answer, bool thenClose)
    {
        auto message = std::make_shared<http::response<http::string_body>>(
            static_cast<http::status>(answer.status), 11);
        message->set(http::field::server, kServerName);
        message->set(http::field::content_type, answer.contentType);
        message->set("X-Content-Type-Options", "nosniff");
        for (const auto& [name, value] : answer.headers)
            message->set(name, value);
        message->body() = std::move(answer.body);
        message->keep_alive(!thenClose);
        message->prepare_payload();
        m_stream.expires_after(m_shared.limits.writeTime);
        http::async_write(
            m_stream, *message,
            [self = shared_from_this(), message, thenClose](beast::error_code error, std::size_t) {
                if (error)
                    return self->close();
                if (thenClose)
                    return self->closeAfterAnswer();
                self->readRequest();
            });
    }

    // Closing with a request's bytes still unread would reset the connection, and the client
    // could lose the answer before it read it: so the rest is read and dropped for a moment.
    void closeAfterAnswer()
    {
        beast::error_code ignored;
        m_stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
        m_stream.expires_after(kLinger);
        drain();
    }
    void drain()
    {
        m_stream.async_read_some(net::buffer(m_scratch),
                                 [self = shared_from_this()](beast::error_code error, std::size_t) {
                                     if (error)
                                         return self->close();
                                     self->drain();
                                 });
    }

    void close()
    {
        beast::error_code ignored;
        m_stream.socket().shutdown(tcp::socket::shutdown_both, ignored);
        m_stream.close();
    }

    beast::tcp_stream m_stream;
    Server::Shared& m_shared;
    beast::flat_buffer m_buffer;
    std::optional<http::request_parser<http::string_body>> m_parser;
    std::string m_peer;
    bool m_peerIsLocal = false;
    bool m_keepAlive = false;
    std::array<char, 16 * 1024> m_scratch;
};

} // namespace

Server::Server(Api& api, const tcp::endpoint& listen, ServerLimits limits)
    : m_shared(std::make_unique<Shared>(api, limits)), m_acceptor(m_io)
{
    m_acceptor.open(listen.protocol());
    m_acceptor.set_option(net::socket_base::reuse_address(true));
    m_acceptor.bind(listen);
    m_acceptor.listen(net::socket_base::max_listen_connections);
    accept();
}

// The workers stop first: their last answers are posted to a context that is still there.
Server::~Server() { m_shared->verifications.reset(); }

tcp::endpoint Server::endpoint() const { return m_acceptor.local_endpoint(); }

void Server::run(int threads)
{
    std::vector<std::thread> more;
    for (int i = 1; i < threads; ++i)
        more.emplace_back([this] { m_io.run(); });
    m_io.run();
    for (std::thread& thread : more)
        thread.join();
}

void Server::stop()
{
    net::post(m_io, [this] {
        beast::error_code ignored;
        m_acceptor.close(ignored);
        m_io.stop();
    });
}

void Server::accept()
{
    m_acceptor.async_accept(
        net::make_strand(m_io), [this](beast::error_code error, tcp::socket socket) {
            if (error == net::error::operation_aborted)
                return;
            if (!error) {
                if (m_shared->open.load() >= m_shared->limits.connections)
                    socket.close(error);
                else
                    std::make_shared<Session>(std::move(socket), *m_shared)->start();
            }
            accept();
        });
}

} // namespace board
