#pragma once

#include "board/api.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include <chrono>
#include <cstddef>
#include <string>

namespace board {

// What the server lets one stranger's connection ask of it.
struct ServerLimits {
    std::size_t headerBytes = 8 * 1024;
    std::size_t bodyBytes = rt::kLargestReplayBytes; // a longer recording is refused unread
    // The time to read a whole request, header and body, and to write an answer: a client that
    // trickles its bytes is cut off when it runs out. A kept-alive connection gets it afresh.
    std::chrono::milliseconds requestTime{10'000};
    std::chrono::milliseconds writeTime{10'000};
    int connections = 1'000;       // open at once; one past them is closed at once
    int workers = 0;               // threads playing recordings; 0 for one per core
    std::size_t waitingGames = 64; // recordings waiting for a worker; past that, 503
};

// The board over HTTP/1.1: the API's GETs on the network threads, submissions on the workers.
class Server {
public:
    // Listens at once (port 0 takes a free one); throws when the address cannot be had.
    Server(Api& api, const boost::asio::ip::tcp::endpoint& listen, ServerLimits limits);
    ~Server();

    boost::asio::ip::tcp::endpoint endpoint() const;
    // Serves on `threads` threads until stop().
    void run(int threads);
    // Stops serving; safe from any thread and from a signal handler's callback.
    void stop();

    struct Shared; // what every connection reaches

private:
    void accept();

    // The connections' handlers, which the context destroys with itself, reach the shared part.
    std::unique_ptr<Shared> m_shared;
    boost::asio::io_context m_io;
    boost::asio::ip::tcp::acceptor m_acceptor;
};

} // namespace board
