#pragma once

#include "runtime/core/presenter.h"
#include "runtime/core/replay.h"

#include <QNetworkAccessManager>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QNetworkReply;

namespace rt {
struct InputEvent;
class Runtime;
} // namespace rt

namespace app {

struct Options;

// A line for the player about the world board: news on standard output, or what went wrong
// (`wrong`) on standard error. Tests hear them instead.
using BoardNews = std::function<void(const QString& line, bool wrong)>;
void printBoardNews(const QString& line, bool wrong);

// Sends recordings to the world board at `board` (http://host:port, perhaps with a folder) in
// the background, one at a time, and tells what the board made of each. A recording given while
// another is on its way waits; only the latest waits, as it holds every game the earlier did.
class BoardClient {
public:
    BoardClient(const QUrl& board, BoardNews news);
    BoardClient(const BoardClient&) = delete;
    BoardClient& operator=(const BoardClient&) = delete;
    ~BoardClient();

    void send(std::string recording);
    // Runs the event loop until every answer still to come has come or timed out: as the game
    // quits, so the rank of the last game is still told.
    void finish();

private:
    void post();
    void answered(QNetworkReply& reply);
    // Tells the answer; true when the board asked for the recording again a little later.
    bool tell(QNetworkReply& reply);
    void wrong(const QString& what) const;

    QUrl m_board;
    QUrl m_games;
    BoardNews m_news;
    std::string m_sending;
    QNetworkReply* m_inFlight = nullptr;
    QTimer m_again;
    bool m_sentAgain = false;
    std::optional<std::string> m_waiting;
    QNetworkAccessManager m_network;
};

// The session as the world board sees it: every input kept in memory from the start, and the
// whole of it sent each time the high-score table takes a finished game. While it lives it is
// the runtime's presenter, passing every call on to the front end's, and hears every input after
// whoever heard them before.
class BoardSession final : public rt::ForwardingPresenter {
public:
    BoardSession(rt::Runtime& runtime, const QUrl& board, BoardNews news);
    ~BoardSession() override;

    void formUnloaded(rt::Form& form) override;
    void finish() { m_client.finish(); }

private:
    rt::Runtime* m_runtime;
    std::function<void(const rt::InputEvent&)> m_heardBefore;
    rt::ReplayText m_recording;
    BoardClient m_client;
};

// The session --board asks for; without the option nothing, and no network at all.
std::unique_ptr<BoardSession> boardSession(rt::Runtime& runtime, const Options& options,
                                           BoardNews news = printBoardNews);

} // namespace app
