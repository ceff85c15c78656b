// SPDX-License-Identifier: GPL-2.0-or-later
#include "client.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "common/read_file.h"
#include "fileio.h"
#include "networks.h"
#include "paths.h"
#include "state_file.h"

namespace standin {

namespace {

using Params = std::vector<std::string>;

// The front-end judges output by searching fixed phrases, so every text here
// is worded to contain only the phrases it means: the banner has no
// "version", refusals that must not read as success have no "ok", and
// refusals for unknown names do not echo the name.
constexpr std::string_view kBanner = "Corvane test client, stand-in build\n";
constexpr std::string_view kNotRunning =
    "The client does not seem to be running.\nStart it with: hamachi start\n";
constexpr std::string_view kNeedsLogin = "You need to log in first: hamachi login\n";
constexpr std::string_view kUsage =
    "usage: hamachi [COMMAND [ARGUMENTS]]\n"
    "  (no command)                  show whether the client runs\n"
    "  start | stop\n"
    "  login | logout\n"
    "  list | get-nicks\n"
    "  go-online NAME | go-offline NAME\n"
    "  create NAME PASSWORD | join NAME PASSWORD\n"
    "  leave NAME | delete NAME | evict NAME ADDRESS\n"
    "  set-nick NICK\n";

Outcome Ok(std::string out) {
    return {std::move(out), "", 0};
}
Outcome Fail(std::string_view out, std::string err = "") {
    return {std::string(out), std::move(err), 1};
}

std::string NotConfigured(const std::string& dir) {
    return "Cannot find configuration directory " + dir + "\nRun hamachi-init to create it.\n";
}

std::string Bracketed(const std::string& name) {
    return "[" + name + "]";
}

// Reads a file that may be missing; false only when it exists but cannot be
// read, so a later rewrite never replaces data it did not see.
bool LoadText(const std::string& path, std::string* text) {
    if (std::optional<std::string> bytes = ReadWholeFile(path, kFileLimit)) {
        *text = std::move(*bytes);
        return true;
    }
    text->clear();
    return !Exists(path);
}

class Client {
  public:
    explicit Client(std::string dir) : dir_(std::move(dir)) {}
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;
    ~Client() {
        if (lockFd_ >= 0) close(lockFd_);
    }

    const std::string& Dir() const { return dir_; }
    std::string Path(std::string_view name) const { return dir_ + std::string(name); }
    bool Configured() const { return IsDirectory(dir_); }
    bool Running() const { return Exists(Path("running")); }
    bool LoggedIn() const { return Running() && Exists(Path("logged-in")); }

    // Serialises commands on the folder so concurrent rewrites do not lose
    // each other's changes. Best effort: an unlockable folder still works.
    void Lock() {
        lockFd_ = open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (lockFd_ >= 0) flock(lockFd_, LOCK_EX);
    }

  private:
    std::string dir_;
    int lockFd_ = -1;
};

Outcome CannotRead(std::string_view action, const std::string& path) {
    return Fail(std::string(action) + " .. failed, cannot read the client's files\n",
                "hamachi: cannot read " + path + "\n");
}

// Runs `change` on the networks file and saves the result; `change` returns
// the refusal text or nothing to go ahead.
template <typename Change>
Outcome EditNetworks(Client& client, const std::string& action, Change change) {
    const std::string path = client.Path("networks");
    std::string text;
    if (!LoadText(path, &text)) return CannotRead(action, path);
    NetworkBook book(text);
    if (std::optional<std::string> refusal = change(book)) return Fail(*refusal);
    std::string error;
    if (!ReplaceFile(path, book.Render(), &error)) {
        // strerror stays off stdout: "Permission denied" would read as a refusal.
        return Fail(action + " .. failed, cannot save\n",
                    "hamachi: cannot write " + path + ": " + error + "\n");
    }
    return Ok(action + " .. ok\n");
}

std::string Version(const Client& client) {
    std::string text = ReadWholeFile(client.Path("version")).value_or("");
    text = text.substr(0, text.find('\n'));
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string(kDefaultVersion);
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Whatever a test left in the running file, only a plain number is shown.
std::string ShownPid(const Client& client) {
    std::string text = ReadWholeFile(client.Path("running")).value_or("");
    text.erase(
        std::remove_if(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); }),
        text.end());
    const bool plain =
        !text.empty() && text.size() <= 10 &&
        std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
    return plain ? text : "0";
}

Outcome Probe(const Client& client) {
    if (!client.Configured()) return Fail(NotConfigured(client.Dir()));
    std::string out(kBanner);
    out += "version  : " + Version(client) + "\n";
    if (!client.Running()) return Ok(out + std::string(kNotRunning));
    out += "pid      : " + ShownPid(client) + "\n";
    out += std::string("status   : ") + (client.LoggedIn() ? "logged in" : "offline") + "\n";
    return Ok(out);
}

Outcome Start(Client& client, const Params&) {
    if (client.Running()) return Ok("The client is already running.\n");
    std::string error;
    if (!ReplaceFile(client.Path("running"), std::to_string(getpid()) + "\n", &error) ||
        !RemoveFile(client.Path("logged-in"))) {
        return Fail("Starting client .. failed\n", "hamachi: cannot start: " + error + "\n");
    }
    return Ok("Starting client .. ok\n");
}

Outcome Stop(Client& client, const Params&) {
    if (!RemoveFile(client.Path("logged-in")) || !RemoveFile(client.Path("running"))) {
        return Fail("Shutting down .. failed\n", std::string("hamachi: ") + strerror(errno) + "\n");
    }
    return Ok("Shutting down .. ok\n");
}

Outcome Login(Client& client, const Params&) {
    if (client.LoggedIn()) return Ok("Already logged in.\n");
    std::string error;
    if (!ReplaceFile(client.Path("logged-in"), "", &error)) {
        return Fail("Logging in .. failed\n", "hamachi: cannot log in: " + error + "\n");
    }
    return Ok("Logging in .. ok\n");
}

Outcome Logout(Client& client, const Params&) {
    if (!client.LoggedIn()) return Fail("Logging out .. failed, no session is open\n");
    if (!RemoveFile(client.Path("logged-in"))) {
        return Fail("Logging out .. failed\n", std::string("hamachi: ") + strerror(errno) + "\n");
    }
    return Ok("Logging out .. ok\n");
}

std::string Padded(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// Fixed columns: marker at 5, address at 8-23, nick at 25-49 (1-based).
std::string MemberRow(const NetworkBook& book, size_t member) {
    const MemberState state = book.State(member);
    const char marker = state == MemberState::Online    ? '*'
                        : state == MemberState::Crossed ? 'X'
                                                        : ' ';
    std::string row = "    ";
    row += marker;
    row += "  " + Padded(book.Address(member), 16) + " " + Padded(book.Nick(member), 25);
    row.erase(row.find_last_not_of(' ') + 1);
    return row + "\n";
}

Outcome List(Client& client, const Params&) {
    std::string text;
    if (!LoadText(client.Path("networks"), &text)) {
        return Fail("", "hamachi: cannot read " + client.Path("networks") + "\n");
    }
    const NetworkBook book(text);
    std::string out;
    for (size_t network : book.Networks()) {
        if (book.HasFlag(network, "away")) continue;
        out += book.HasFlag(network, "online") ? " * " : "   ";
        out += Bracketed(book.Name(network)) + "\n";
        for (size_t member : book.Members(network)) out += MemberRow(book, member);
    }
    return Ok(out);
}

Outcome GetNicks(Client&, const Params&) {
    return Ok("");
}

Outcome SetOnline(Client& client, const std::string& name, bool online) {
    const std::string verb = online ? "Going online" : "Going offline";
    return EditNetworks(client, verb + " in " + Bracketed(name),
                        [&](NetworkBook& book) -> std::optional<std::string> {
                            const std::optional<size_t> network = book.Find(name, false);
                            if (!network) return verb + " .. failed, network not found\n";
                            book.SetFlag(*network, "online", online);
                            return std::nullopt;
                        });
}

Outcome GoOnline(Client& client, const Params& params) {
    return SetOnline(client, params[0], true);
}
Outcome GoOffline(Client& client, const Params& params) {
    return SetOnline(client, params[0], false);
}

Outcome Leave(Client& client, const Params& params) {
    const std::string& name = params[0];
    return EditNetworks(
        client, "Leaving " + Bracketed(name), [&](NetworkBook& book) -> std::optional<std::string> {
            const std::optional<size_t> network = book.Find(name, false);
            if (!network) return "Leaving network .. failed, network not found\n";
            if (book.HasFlag(*network, "owner")) {
                return "Leaving " + Bracketed(name) + " .. failed, you are an owner\n";
            }
            book.RemoveNetwork(*network);
            return std::nullopt;
        });
}

Outcome Delete(Client& client, const Params& params) {
    const std::string& name = params[0];
    return EditNetworks(client, "Deleting " + Bracketed(name),
                        [&](NetworkBook& book) -> std::optional<std::string> {
                            const std::optional<size_t> network = book.Find(name, false);
                            if (!network) return "Deleting network .. failed, network not found\n";
                            if (!book.HasFlag(*network, "owner")) {
                                return "Deleting " + Bracketed(name) +
                                       " .. failed, you are not an owner\n";
                            }
                            book.RemoveNetwork(*network);
                            return std::nullopt;
                        });
}

Outcome Evict(Client& client, const Params& params) {
    const std::string& address = params[1];
    return EditNetworks(client, "Evicting " + address,
                        [&](NetworkBook& book) -> std::optional<std::string> {
                            const std::optional<size_t> network = book.Find(params[0], false);
                            if (!network) return "Evicting member .. failed, network not found\n";
                            const std::optional<size_t> member = book.FindMember(*network, address);
                            if (!member) return "Evicting member .. failed, member not found\n";
                            if (!book.HasFlag(*network, "owner")) {
                                return "Evicting " + address + " .. failed, access denied\n";
                            }
                            book.RemoveMember(*member);
                            return std::nullopt;
                        });
}

Outcome Create(Client& client, const Params& params) {
    const std::string& name = params[0];
    if (name.empty()) return Fail("Creating network .. failed, invalid name\n");
    return EditNetworks(client, "Creating " + Bracketed(name),
                        [&](NetworkBook& book) -> std::optional<std::string> {
                            if (book.Find(name, true)) {
                                return "Creating " + Bracketed(name) +
                                       " .. failed, network name is already taken\n";
                            }
                            book.AddNetwork(name, "online,owner", params[1]);
                            return std::nullopt;
                        });
}

Outcome Join(Client& client, const Params& params) {
    const std::string& name = params[0];
    return EditNetworks(
        client, "Joining " + Bracketed(name), [&](NetworkBook& book) -> std::optional<std::string> {
            const std::optional<size_t> network = book.Find(name, true);
            if (!network) return "Joining network .. failed, network not found\n";
            if (!book.HasFlag(*network, "away")) {
                return "Joining network .. failed, you are already a member\n";
            }
            if (book.Password(*network) != params[1]) {
                return "Joining " + Bracketed(name) + " .. failed, invalid password\n";
            }
            book.SetFlag(*network, "away", false);
            return std::nullopt;
        });
}

Outcome SetNick(Client& client, const Params& params) {
    const std::string path = client.Path("state");
    std::string text;
    if (!LoadText(path, &text)) return CannotRead("Setting nickname", path);
    std::string error;
    if (!ReplaceFile(path, WithStateValue(text, "Nickname", params[0]), &error)) {
        return Fail("Setting nickname .. failed, cannot save\n",
                    "hamachi: cannot write " + path + ": " + error + "\n");
    }
    return Ok("Setting nickname .. ok\n");
}

enum class Needs { Config, Running, Login };

struct Command {
    std::string_view name;
    size_t params;
    Needs needs;
    std::string_view verb;  // for refusing arguments that cannot be stored
    Outcome (*run)(Client&, const Params&);
};

constexpr Command kCommands[] = {
    {"start", 0, Needs::Config, "", Start},
    {"stop", 0, Needs::Running, "", Stop},
    {"login", 0, Needs::Running, "", Login},
    {"logout", 0, Needs::Running, "", Logout},
    {"list", 0, Needs::Login, "", List},
    {"get-nicks", 0, Needs::Running, "", GetNicks},
    {"go-online", 1, Needs::Login, "Going online", GoOnline},
    {"go-offline", 1, Needs::Login, "Going offline", GoOffline},
    {"leave", 1, Needs::Login, "Leaving network", Leave},
    {"delete", 1, Needs::Login, "Deleting network", Delete},
    {"evict", 2, Needs::Login, "Evicting member", Evict},
    {"create", 2, Needs::Login, "Creating network", Create},
    {"join", 2, Needs::Login, "Joining network", Join},
    {"set-nick", 1, Needs::Running, "Setting nickname", SetNick},
};

std::optional<Outcome> Refusal(const Command& command, const Client& client, const Params& params) {
    if (!client.Configured()) return Fail(NotConfigured(client.Dir()));
    if (command.needs != Needs::Config && !client.Running()) return Fail(kNotRunning);
    if (command.needs == Needs::Login && !client.LoggedIn()) return Fail(kNeedsLogin);
    if (!std::all_of(params.begin(), params.end(), NetworkBook::IsStorable)) {
        return Fail(std::string(command.verb) + " .. failed, invalid name\n");
    }
    return std::nullopt;
}

}  // namespace

Outcome RunClient(const std::vector<std::string>& args) {
    Client client(ConfigDir());
    if (args.empty()) return Probe(client);

    const Params params(args.begin() + 1, args.end());
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return c.name == args[0]; });
    if (command == std::end(kCommands) || command->params != params.size()) return Fail(kUsage);

    if (client.Configured()) client.Lock();
    std::optional<Outcome> refusal = Refusal(*command, client, params);
    if (!refusal) return command->run(client, params);
    // Every stdout line of list becomes a roster row, so its refusals go to stderr.
    if (command->name == "list") std::swap(refusal->out, refusal->err);
    return *refusal;
}

}  // namespace standin
