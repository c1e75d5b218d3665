#include "uFTPClient.h"

#include "uProgressViewer.h"

#include <QCoreApplication>

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace lx::editor {

namespace {

CURL* Handle(void* curl) {
    return static_cast<CURL*>(curl);
}

// libcurl's global set-up, done once before the first handle.
void GlobalInit() {
    static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
    (void)done;
}

class TSList {
public:
    TSList() = default;
    ~TSList() { curl_slist_free_all(FList); }
    TSList(const TSList&) = delete;
    TSList& operator=(const TSList&) = delete;
    void Add(const std::string& s) { FList = curl_slist_append(FList, s.c_str()); }
    curl_slist* Get() const { return FList; }

private:
    curl_slist* FList = nullptr;
};

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = path.find('/', start);
        const std::string part =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty())
            parts.push_back(part);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return parts;
}

} // namespace

struct TFTPClient::TTransfer {
    TFTPClient* Owner = nullptr;
    int Mode = 0; // 0 retrieving, 1 storing (the progress manager's work modes)
    std::string Received;
    const std::string* Sending = nullptr;
    std::size_t SendPos = 0;
    bool Begun = false;
    long long Last = -1;
    std::string LastErrorReply;
    char Error[CURL_ERROR_SIZE] = {};
    TSList Quote, PostQuote;

    // Between transfers the handle's data pointers are null (see Perform):
    // libcurl still reads the server's replies when it closes the connection.
    static std::size_t Write(char* data, std::size_t size, std::size_t n, void* self) {
        if (self)
            static_cast<TTransfer*>(self)->Received.append(data, size * n);
        return size * n;
    }
    static std::size_t Read(char* buffer, std::size_t size, std::size_t n, void* self) {
        auto* t = static_cast<TTransfer*>(self);
        if (!t || !t->Sending)
            return 0;
        const std::size_t left = t->Sending->size() - t->SendPos;
        const std::size_t count = std::min(left, size * n);
        std::memcpy(buffer, t->Sending->data() + t->SendPos, count);
        t->SendPos += count;
        return count;
    }
    // For FTP the header callback receives the server's reply lines.
    static std::size_t Header(char* data, std::size_t size, std::size_t n, void* self) {
        std::string line(data, size * n);
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        if (self && !line.empty() && (line[0] == '4' || line[0] == '5'))
            static_cast<TTransfer*>(self)->LastErrorReply = line;
        return size * n;
    }
    static int Progress(void* self, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal,
                        curl_off_t ulNow) {
        auto* t = static_cast<TTransfer*>(self);
        if (!t)
            return 0;
        const long long total = t->Mode == 0 ? dlTotal : ulTotal;
        const long long now = t->Mode == 0 ? dlNow : ulNow;
        if (!t->Begun && (total > 0 || now > 0)) {
            t->Begun = true;
            ProgressManager().WorkBegin(t->Owner, t->Mode, total);
        }
        if (t->Begun && now != t->Last) {
            t->Last = now;
            ProgressManager().Work(t->Owner, t->Mode, now);
        }
        // The transfer runs on the user-interface thread: keep the windows painting.
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return 0;
    }
};

TFTPClient::TFTPClient() {
    GlobalInit();
    FCurl = curl_easy_init();
}

TFTPClient::~TFTPClient() {
    curl_easy_cleanup(Handle(FCurl));
}

void TFTPClient::Setup(const std::string& host, const std::string& port, const std::string& user,
                       const std::string& password) {
    FHost = host;
    FUser = user;
    FPassword = password;
    int value = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
    FPort = ec == std::errc() && end == port.data() + port.size() && value > 0 && value < 65536
                ? port
                : std::string();
}

std::string TFTPClient::BaseURL() const {
    return "ftp://" + FHost;
}

std::string TFTPClient::AbsoluteFolder(const std::string& folder) const {
    std::string path = FLoginFolder;
    for (const auto& part : SplitPath(folder))
        path += "/" + part;
    return path.empty() ? "/" : path;
}

// The folder as a URL that libcurl enters with one CWD: a leading "%2F"
// makes the path absolute.
std::string TFTPClient::FolderURL(const std::string& folder) const {
    std::string url = BaseURL() + "/%2F";
    bool first = true;
    for (const auto& part : SplitPath(AbsoluteFolder(folder))) {
        char* escaped =
            curl_easy_escape(Handle(FCurl), part.c_str(), static_cast<int>(part.size()));
        url += (first ? "" : "/") + std::string(escaped ? escaped : "");
        curl_free(escaped);
        first = false;
    }
    return url + "/";
}

void TFTPClient::Prepare(TTransfer& t, const std::string& url) {
    CURL* c = Handle(FCurl);
    // A reset keeps the open connection; every operation states all its options.
    curl_easy_reset(c);
    t.Owner = this;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(c, CURLOPT_USERNAME, FUser.c_str());
    curl_easy_setopt(c, CURLOPT_PASSWORD, FPassword.c_str());
    if (!FPort.empty())
        curl_easy_setopt(c, CURLOPT_PORT, std::stol(FPort));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, FTimeouts.ConnectMs);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, FTimeouts.ResponseSeconds);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, FTimeouts.LowSpeedSeconds);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, FTimeouts.LowSpeedBytes);
    curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(c, CURLOPT_FTPPORT, nullptr);  // passive data connections
    curl_easy_setopt(c, CURLOPT_TRANSFERTEXT, 0L);  // binary (TYPE I)
    curl_easy_setopt(c, CURLOPT_BUFFERSIZE, 1024L); // small, so progress is reported often
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, t.Error);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &TTransfer::Write);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &TTransfer::Header);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &TTransfer::Progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
}

void TFTPClient::Perform(TTransfer& t) {
    CURL* c = Handle(FCurl);
    if (t.Quote.Get())
        curl_easy_setopt(c, CURLOPT_QUOTE, t.Quote.Get());
    if (t.PostQuote.Get())
        curl_easy_setopt(c, CURLOPT_POSTQUOTE, t.PostQuote.Get());
    const CURLcode rc = curl_easy_perform(c);
    if (t.Begun)
        ProgressManager().WorkEnd(this, t.Mode);
    // The options point into `t`; none may outlive it. libcurl keeps using
    // the callbacks after the transfer: closing the connection (Disconnect,
    // the destructor, a connection dropped by the next transfer) sends QUIT
    // and reads the reply through the header and progress callbacks.
    curl_easy_setopt(c, CURLOPT_QUOTE, nullptr);
    curl_easy_setopt(c, CURLOPT_POSTQUOTE, nullptr);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_READDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, nullptr);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 1L);
    if (rc == CURLE_OK)
        return;
    std::string message = t.Error[0] ? std::string(t.Error) : std::string(curl_easy_strerror(rc));
    if (!t.LastErrorReply.empty())
        message += " (" + t.LastErrorReply + ")";
    const bool missing = rc == CURLE_REMOTE_FILE_NOT_FOUND;
    switch (rc) {
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_LOGIN_DENIED:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_FTP_WEIRD_SERVER_REPLY:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_PARTIAL_FILE:
        FConnected = false; // the next use connects again
        break;
    default:
        break;
    }
    throw EFTPError(message, missing, static_cast<int>(rc));
}

void TFTPClient::Connect() {
    FConnected = false;
    FLoginFolder.clear();
    TTransfer t;
    Prepare(t, BaseURL() + "/");
    curl_easy_setopt(Handle(FCurl), CURLOPT_NOBODY, 1L);
    Perform(t);
    char* entry = nullptr;
    if (curl_easy_getinfo(Handle(FCurl), CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry) {
        FLoginFolder = entry;
        while (!FLoginFolder.empty() && FLoginFolder.back() == '/')
            FLoginFolder.pop_back();
    }
    FConnected = true;
}

void TFTPClient::Probe() {
    TTransfer t;
    Prepare(t, BaseURL() + "/");
    curl_easy_setopt(Handle(FCurl), CURLOPT_NOBODY, 1L);
    t.Quote.Add("NOOP");
    Perform(t);
}

void TFTPClient::Disconnect() {
    curl_easy_cleanup(Handle(FCurl));
    FCurl = curl_easy_init();
    FConnected = false;
}

std::string TFTPClient::TemporaryName(const std::string& name) {
    return name + ".part";
}

std::string TFTPClient::Retrieve(const std::string& folder, const std::string& name) {
    TTransfer t;
    char* escaped = curl_easy_escape(Handle(FCurl), name.c_str(), static_cast<int>(name.size()));
    const std::string url = FolderURL(folder) + (escaped ? escaped : "");
    curl_free(escaped);
    Prepare(t, url);
    Perform(t);
    return std::move(t.Received);
}

void TFTPClient::Store(const std::string& data, const std::string& folder,
                       const std::string& name) {
    const std::string temporary = TemporaryName(name);
    TTransfer t;
    t.Mode = 1;
    t.Sending = &data;
    char* escaped =
        curl_easy_escape(Handle(FCurl), temporary.c_str(), static_cast<int>(temporary.size()));
    const std::string url = FolderURL(folder) + (escaped ? escaped : "");
    curl_free(escaped);
    Prepare(t, url);
    CURL* c = Handle(FCurl);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &TTransfer::Read);
    curl_easy_setopt(c, CURLOPT_READDATA, &t);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(data.size()));
    // After the transfer the connection is in `folder`: bare names suffice.
    t.PostQuote.Add("RNFR " + temporary);
    t.PostQuote.Add("RNTO " + name);
    try {
        Perform(t);
        return;
    } catch (const EFTPError& e) {
        if (e.Code() != CURLE_QUOTE_ERROR)
            throw;
    }
    // The file is on the server under its temporary name, but the server
    // would not rename over an existing file: remove that one first.
    TTransfer again;
    Prepare(again, FolderURL(folder));
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    again.PostQuote.Add("*DELE " + name); // "*": a failure here is not an error
    again.PostQuote.Add("RNFR " + temporary);
    again.PostQuote.Add("RNTO " + name);
    Perform(again);
}

std::vector<std::string> TFTPClient::NameList(const std::string& folder,
                                              const std::string& argument) {
    TTransfer t;
    Prepare(t, FolderURL(folder));
    curl_easy_setopt(Handle(FCurl), CURLOPT_DIRLISTONLY, 1L);
    const std::string command = argument.empty() ? "NLST" : "NLST " + argument;
    curl_easy_setopt(Handle(FCurl), CURLOPT_CUSTOMREQUEST, command.c_str());
    Perform(t);
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < t.Received.size()) {
        auto end = t.Received.find('\n', start);
        if (end == std::string::npos)
            end = t.Received.size();
        std::string line = t.Received.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names.push_back(line);
        start = end + 1;
    }
    return names;
}

void TFTPClient::ChangeDir(const std::string& folder) {
    TTransfer t;
    Prepare(t, FolderURL(folder));
    curl_easy_setopt(Handle(FCurl), CURLOPT_NOBODY, 1L);
    Perform(t);
}

} // namespace lx::editor
