#include "serve/server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "serve/addresses.h"
#include "serve/answer.h"
#include "sys/disk.h"
#include "sys/fd.h"
#include "sys/signals.h"

#ifndef ZEMUC_DATADIR_FROM_BINDIR
#define ZEMUC_DATADIR_FROM_BINDIR "../share"
#endif

namespace zemuc::serve {
namespace {

// What zemuc serve says, to the teacher and of the site.
constexpr Text kCannotOpenSite = {"サイトのフォルダ {} を開けません: {}",
                                  "cannot open the site's folder {}: {}"};
constexpr Text kNotASite = {
    "{} はあそび場のサイトではありません (index.html がありません)",
    "{} is not the playground's site (it has no index.html)"};
constexpr Text kNoInstalledSite = {
    "zemuc と一緒に入れたサイトがありません ({} にも {} にも)。make web "
    "で作るか、サイトのフォルダを指定してください",
    "no site was installed with zemuc (neither {} nor {}); build it with "
    "make web, or name the site's folder"};
constexpr Text kPortInUse = {
    "ポート {} はもう使われています。--port で別の番号を選んでください",
    "port {} is already in use; choose another with --port"};
constexpr Text kCannotListen = {"{} のポート {} で待ち受けられません: {}",
                                "cannot listen on {} port {}: {}"};
constexpr Text kCannotWatchSignals = {"Ctrl-C を待てません: {}",
                                      "cannot watch for Ctrl-C: {}"};
constexpr Text kCannotStart = {"サーバを始められません: {}",
                               "cannot start the server: {}"};
constexpr Text kServerEnded = {"サーバが思いがけず止まりました",
                               "the server stopped unexpectedly"};
constexpr Text kServing = {
    "{} を配っています。生徒はブラウザでこのアドレスを開きます:\n",
    "serving {}; learners open this address in a browser:\n"};
constexpr Text kAddress = {"  http://{}:{}/\n", "  http://{}:{}/\n"};
constexpr Text kNoNetwork = {
    "(ネットワークのアドレスがありません: このコンピュータでだけ開けます)\n",
    "(no network address: only this computer can open it)\n"};
constexpr Text kStopHint = {"Ctrl-C で止めます。\n", "Ctrl-C stops it.\n"};
constexpr Text kConnected = {"つながりました: {}\n", "learner connected: {}\n"};
constexpr Text kStopped = {"止めました。\n", "stopped.\n"};

constexpr int kExitNoSite = 2;
constexpr int kExitCannotServe = 1;

// Enough threads that a class's first visits, a few connections for each
// learner, wait little for one another; a connection left open by a
// browser gives its thread back after a short while.
constexpr std::size_t kThreads = 48;
constexpr time_t kKeepAliveSeconds = 2;

// One line for each address that connects, the first time only.
class Learners {
 public:
  Learners(const Reporter& reporter,
           const std::function<void(std::string_view)>& say)
      : reporter_(reporter), say_(say) {}
  void saw(const std::string& address) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (seen_.insert(address).second)
      say_(reporter_.format(kConnected, {address}));
  }

 private:
  const Reporter& reporter_;
  const std::function<void(std::string_view)>& say_;
  std::mutex mutex_;
  std::set<std::string> seen_;
};

bool has_index(const std::string& folder) {
  struct stat info;
  return ::stat((folder + "/index.html").c_str(), &info) == 0 &&
         S_ISREG(info.st_mode);
}

// The site's folder as a real path, or nothing after a report.
std::optional<std::string> site_folder(const std::string& named,
                                       Reporter& reporter) {
  const std::string folder = own_folder();
  const std::vector<std::string> candidates =
      named.empty()
          ? std::vector<std::string>{folder + "/" ZEMUC_DATADIR_FROM_BINDIR
                                              "/zemucfilter/web",
                                     folder + "/../web"}
          : std::vector<std::string>{named};
  for (const std::string& candidate : candidates) {
    char real[PATH_MAX];
    if (::realpath(candidate.c_str(), real) == nullptr) {
      if (!named.empty())
        reporter.error(kCannotOpenSite, {named, std::strerror(errno)});
      continue;
    }
    struct stat info;
    if (::stat(real, &info) == 0 && !S_ISDIR(info.st_mode)) {
      if (!named.empty())
        reporter.error(kCannotOpenSite, {named, std::strerror(ENOTDIR)});
      continue;
    }
    if (has_index(real)) return std::string(real);
    if (!named.empty()) reporter.error(kNotASite, {named});
  }
  if (named.empty())
    reporter.error(kNoInstalledSite, {candidates[0], candidates[1]});
  return std::nullopt;
}

// SO_REUSEADDR alone: a server started again at once gets its port back,
// but a second one on a port in use is refused, where the library's
// SO_REUSEPORT would let both take it and share the class between them.
void reuse_address_only(int socket) {
  const int yes = 1;
  // A refusal leaves the port unshared, and at worst busy for a while.
  (void)::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

void configure(httplib::Server& server, const std::string& root,
               Learners& learners) {
  server.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server.set_socket_options(reuse_address_only);
  server.set_keep_alive_timeout(kKeepAliveSeconds);
  server.set_pre_routing_handler([&learners](const httplib::Request& request,
                                             httplib::Response& response) {
    learners.saw(request.remote_addr);
    return refused_method(request, response)
               ? httplib::Server::HandlerResponse::Handled
               : httplib::Server::HandlerResponse::Unhandled;
  });
  server.Get(".*", [&root](const httplib::Request& request,
                           httplib::Response& response) {
    answer_file(root, request, response);
  });
}

// The port listened on, or nothing after a report.
std::optional<int> listen_on(httplib::Server& server,
                             const ServeOptions& options, Reporter& reporter) {
  errno = 0;
  const int port =
      options.port == 0
          ? server.bind_to_any_port(options.bind)
          : (server.bind_to_port(options.bind, options.port) ? options.port
                                                             : -1);
  if (port > 0) return port;
  const std::string number = std::to_string(options.port);
  if (errno == EADDRINUSE) {
    reporter.error(kPortInUse, {number});
  } else {
    reporter.error(kCannotListen,
                   {options.bind, number,
                    errno != 0 ? std::strerror(errno) : "getaddrinfo"});
  }
  return std::nullopt;
}

// Where learners find the site: the address bound to, or each of the
// machine's own where it listens on all of them.
void tell_addresses(const std::string& root, const std::string& bind, int port,
                    const Reporter& reporter,
                    const std::function<void(std::string_view)>& say) {
  std::string told = reporter.format(kServing, {root});
  const std::string number = std::to_string(port);
  std::vector<std::string> addresses{bind};
  if (bind == "0.0.0.0") {
    addresses = lan_addresses().value_or(std::vector<std::string>{});
    if (addresses.empty()) told += reporter.format(kNoNetwork, {});
    if (addresses.empty()) addresses.emplace_back("127.0.0.1");
  }
  for (const std::string& address : addresses) {
    // An IPv6 address stands in brackets in a URL.
    const bool v6 = address.find(':') != std::string::npos;
    told +=
        reporter.format(kAddress, {v6 ? "[" + address + "]" : address, number});
  }
  say(told + reporter.format(kStopHint, {}));
}

// Waits for an ending signal, or for the server to end by itself; the
// signal, or 0.
int wait_for_end(SignalFd& signals, int server_ended) {
  pollfd watched[] = {{signals.fd(), POLLIN, 0}, {server_ended, POLLIN, 0}};
  for (;;) {
    if (::poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return 0;
    }
    if (const int signal = signals.take(); signal != 0) return signal;
    if (watched[1].revents != 0) return 0;
  }
}

// Stops the server, and again until its thread has ended: a stop that
// comes before the server has started to run is not seen by it.
void stop_server(httplib::Server& server, int server_ended) {
  pollfd watched{server_ended, POLLIN, 0};
  int ready = 0;
  do {
    server.stop();
    ready = ::poll(&watched, 1, 100);
  } while (ready == 0 || (ready < 0 && errno == EINTR));
}

struct Ended {
  int status = 0;
  int signal = 0;
};

// Serves with the ending signals held, so that every thread leaves them to
// the descriptor that the main thread watches.
Ended serve_held(const ServeOptions& options, const std::string& root,
                 Reporter& reporter,
                 const std::function<void(std::string_view)>& say) {
  std::optional<SignalFd> signals = SignalFd::open(ending_signals());
  int ends[2];
  if (!signals || ::pipe2(ends, O_CLOEXEC) != 0) {
    reporter.error(kCannotWatchSignals, {std::strerror(errno)});
    return {kExitCannotServe, 0};
  }
  const UniqueFd ended_read(ends[0]);
  UniqueFd ended_write(ends[1]);
  Learners learners(reporter, say);
  httplib::Server server;
  configure(server, root, learners);
  const std::optional<int> port = listen_on(server, options, reporter);
  if (!port) return {kExitCannotServe, 0};
  // Told before the first answer, so that no learner's line comes first;
  // a learner who connects meanwhile waits in the socket's queue.
  tell_addresses(root, options.bind, *port, reporter, say);
  std::thread listener;
  try {
    listener = std::thread([&server, &ended_write] {
      server.listen_after_bind();
      ended_write.reset();
    });
  } catch (const std::system_error& error) {
    reporter.error(kCannotStart, {error.what()});
    return {kExitCannotServe, 0};
  }
  const int signal = wait_for_end(*signals, ended_read.get());
  stop_server(server, ended_read.get());
  listener.join();
  if (signal == 0) reporter.error(kServerEnded, {});
  if (signal != 0) say(reporter.format(kStopped, {}));
  return {signal != 0 ? 0 : kExitCannotServe, signal};
}

}  // namespace

int serve_site(const ServeOptions& options, Reporter& reporter,
               const std::function<void(std::string_view)>& say) {
  const std::optional<std::string> root = site_folder(options.site, reporter);
  if (!root) return kExitNoSite;
  Ended ended;
  {
    const HeldSignals held;
    ended = serve_held(options, *root, reporter, say);
  }
  // Stopped and cleaned up: the signal that stopped it now ends zemuc, so
  // that a shell sees how it ended.
  if (ended.signal != 0) raise_signal(ended.signal);
  return ended.status;
}

}  // namespace zemuc::serve
