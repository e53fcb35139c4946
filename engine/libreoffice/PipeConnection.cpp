#include "engine/libreoffice/PipeConnection.h"

#include <com/sun/star/io/IOException.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ustring.hxx>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pelmora {

using css::uno::Reference;
using css::uno::Sequence;
using rtl::OUString;

namespace {

OUString Text(const std::string& text) {
    return rtl::OStringToOUString(rtl::OString(text.c_str(), static_cast<sal_Int32>(text.size())),
                                  RTL_TEXTENCODING_UTF8);
}

class PipeConnection final : public cppu::WeakImplHelper1<css::connection::XConnection> {
public:
    PipeConnection(int socket, std::string path) : socket_(socket), path_(std::move(path)) {}
    ~PipeConnection() override { ::close(socket_); }

    // The bridge wants exactly bytes bytes, fewer only at the end of the stream.
    sal_Int32 SAL_CALL read(Sequence<sal_Int8>& data, sal_Int32 bytes) override {
        data.realloc(bytes);
        sal_Int32 got = 0;
        while (got < bytes) {
            const ssize_t n = ::recv(socket_, data.getArray() + got, bytes - got, 0);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                throw css::io::IOException(Failure("read"));
            }
            if (n == 0) {
                break;
            }
            got += static_cast<sal_Int32>(n);
        }
        data.realloc(got);
        return got;
    }

    void SAL_CALL write(const Sequence<sal_Int8>& data) override {
        sal_Int32 sent = 0;
        while (sent < data.getLength()) {
            // MSG_NOSIGNAL: a dead office is an error of this call, not a SIGPIPE.
            const ssize_t n =
                ::send(socket_, data.getConstArray() + sent, data.getLength() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                throw css::io::IOException(Failure("write"));
            }
            sent += static_cast<sal_Int32>(n);
        }
    }

    void SAL_CALL flush() override {}

    // Wakes a read blocked on another thread; the descriptor stays until the end,
    // so no other file can take its number meanwhile.
    void SAL_CALL close() override { ::shutdown(socket_, SHUT_RDWR); }

    OUString SAL_CALL getDescription() override { return Text("pipe,path=" + path_); }

private:
    OUString Failure(const char* what) const {
        return Text(std::string("cannot ") + what + " the office's pipe: " + std::strerror(errno));
    }

    const int socket_;
    const std::string path_;
};

} // namespace

Reference<css::connection::XConnection> ConnectPipe(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        throw css::io::IOException(Text("the office's pipe path is too long: " + path));
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        throw css::io::IOException(Text("cannot make a socket"));
    }
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket);
        return {};
    }
    return new PipeConnection(socket, path);
}

} // namespace pelmora
