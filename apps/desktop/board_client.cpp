#include "board_client.h"

#include "command_line.h"
#include "runtime/core/runtime.h"
#include "scores/highscores.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <cstdio>
#include <utility>

namespace app {

namespace {

// The board plays a whole session again before it answers; an evening of play takes it seconds.
constexpr int kAnswerTimeoutMs = 10'000;
// A busy board's "later" is waited for once, if it is this soon: the next game sends it all anyway.
constexpr int kLongestWaitS = 10;

QString said(const QString& text) { return QStringLiteral("zelvatron: world board: ") + text; }

// What a board sends is printed to a terminal: no control character may reach it.
QString printable(QString text)
{
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = u'?';
    return text;
}

// "Ann, level 2, 4500 points: rank 3".
QString rankLine(const QJsonObject& entry)
{
    const QString rank =
        entry.contains(QLatin1String("rank"))
            ? QStringLiteral("rank %1").arg(entry[QLatin1String("rank")].toInteger())
            : QStringLiteral("taken, and not shown on the board");
    return QStringLiteral("%1, level %2, %3 points: %4")
        .arg(printable(entry[QLatin1String("name")].toString()),
             printable(entry[QLatin1String("level")].toString()))
        .arg(entry[QLatin1String("score")].toInteger())
        .arg(rank);
}

} // namespace

void printBoardNews(const QString& line, bool wrong)
{
    std::FILE* out = wrong ? stderr : stdout;
    std::fprintf(out, "%s\n", line.toUtf8().constData());
    std::fflush(out);
}

BoardClient::BoardClient(const QUrl& board, BoardNews news)
    : m_board(board.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment)), m_games(m_board),
      m_news(std::move(news))
{
    // The API sits under the board's folder, when it has one.
    QString path = m_games.path();
    if (!path.endsWith(u'/'))
        path += u'/';
    m_games.setPath(path + QStringLiteral("api/games"));
    m_again.setSingleShot(true);
    QObject::connect(&m_again, &QTimer::timeout, &m_network, [this] { post(); });
}

BoardClient::~BoardClient()
{
    // A request the quit cuts off is dropped untold, and nothing waiting goes after it.
    if (m_inFlight)
        QObject::disconnect(m_inFlight, &QNetworkReply::finished, nullptr, nullptr);
}

void BoardClient::send(std::string recording)
{
    if (m_inFlight || m_again.isActive()) {
        m_waiting = std::move(recording);
        return;
    }
    m_sending = std::move(recording);
    m_sentAgain = false;
    post();
}

void BoardClient::finish()
{
    while (m_inFlight || m_again.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BoardClient::post()
{
    // A session that went on while the board was busy holds every game it would have had.
    if (m_waiting) {
        m_sending = std::move(*m_waiting);
        m_waiting.reset();
    }
    QNetworkRequest request(m_games);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("text/plain; charset=utf-8"));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("zelvatron/") + version());
    request.setTransferTimeout(kAnswerTimeoutMs);
    QNetworkReply* reply = m_network.post(
        request, QByteArray(m_sending.data(), static_cast<qsizetype>(m_sending.size())));
    m_inFlight = reply;
    QObject::connect(reply, &QNetworkReply::finished, &m_network,
                     [this, reply] { answered(*reply); });
}

void BoardClient::answered(QNetworkReply& reply)
{
    reply.deleteLater();
    m_inFlight = nullptr;
    if (tell(reply))
        return;
    if (m_waiting) {
        m_sentAgain = false;
        post();
    }
}

bool BoardClient::tell(QNetworkReply& reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (reply.error() == QNetworkReply::OperationCanceledError) {
        wrong(QStringLiteral("no answer from %1 in %2 s")
                  .arg(m_board.toDisplayString())
                  .arg(kAnswerTimeoutMs / 1000));
        return false;
    }
    if (!status.isValid()) {
        wrong(QStringLiteral("cannot reach %1: %2")
                  .arg(m_board.toDisplayString(), reply.errorString()));
        return false;
    }
    const int code = status.toInt();
    const QJsonObject answer = QJsonDocument::fromJson(reply.readAll()).object();
    if (code == 200 || code == 201) {
        const QJsonValue entries = answer[QLatin1String("entries")];
        if (!entries.isArray()) {
            wrong(QStringLiteral("%1 sent an answer that is not the board's")
                      .arg(m_board.toDisplayString()));
            return false;
        }
        bool anyNew = false;
        for (const QJsonValue& entry : entries.toArray()) {
            if (!entry[QLatin1String("new")].toBool())
                continue;
            anyNew = true;
            m_news(said(rankLine(entry.toObject())), false);
        }
        if (entries.toArray().isEmpty())
            wrong(QStringLiteral("the board saw no game finish in this session"));
        else if (!anyNew)
            m_news(said(QStringLiteral("this session's games were on the board already")), false);
        return false;
    }
    const QString sentence = printable(answer[QLatin1String("error")].toString());
    const QString why =
        sentence.isEmpty()
            ? QStringLiteral("the board answered %1 %2")
                  .arg(code)
                  .arg(reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
            : sentence;
    // Too many games at once, or the board busy: it says how soon to send again.
    const int waitS = reply.rawHeader("Retry-After").toInt();
    if ((code == 429 || code == 503) && !m_sentAgain && waitS > 0 && waitS <= kLongestWaitS) {
        wrong(why + QStringLiteral(" Sending it again in %1 s.").arg(waitS));
        m_sentAgain = true;
        m_again.start(waitS * 1000);
        return true;
    }
    wrong(why);
    return false;
}

void BoardClient::wrong(const QString& what) const { m_news(said(what), true); }

BoardSession::BoardSession(rt::Runtime& runtime, const QUrl& board, BoardNews news)
    : ForwardingPresenter(runtime.presenter()), m_runtime(&runtime),
      m_heardBefore(std::move(runtime.onInput)), m_recording([news](const std::string& why) {
          news(said(QStringLiteral("the session is no longer recorded for the board (%1); later "
                                   "games are not sent")
                        .arg(QString::fromStdString(why))),
               true);
      }),
      m_client(board, news)
{
    runtime.setPresenter(this);
    runtime.onInput = [this](const rt::InputEvent& event) {
        if (m_heardBefore)
            m_heardBefore(event);
        m_recording.record(event);
    };
}

BoardSession::~BoardSession()
{
    m_runtime->onInput = std::move(m_heardBefore);
    if (&m_runtime->presenter() == this)
        m_runtime->setPresenter(&next());
}

void BoardSession::formUnloaded(rt::Form& form)
{
    ForwardingPresenter::formUnloaded(form);
    if (scores::finishedGameStage(*m_runtime, form) && !m_recording.stopped())
        m_client.send(m_recording.text());
}

std::unique_ptr<BoardSession> boardSession(rt::Runtime& runtime, const Options& options,
                                           BoardNews news)
{
    if (options.board.isEmpty())
        return nullptr;
    return std::make_unique<BoardSession>(runtime, options.board, std::move(news));
}

} // namespace app
