#pragma once
// A tiny HTTP server on 127.0.0.1 for the online NCM lookup's tests: every request's target is kept,
// and the reply comes from the test's function (a body, or nullopt to close the connection without
// a reply). Serves until destroyed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zuv::teste {

class ServidorNCM {
 public:
  using Resposta = std::function<std::optional<std::string>(const std::string& alvo)>;

  explicit ServidorNCM(Resposta resposta) : resposta_(std::move(resposta)) {
    escuta_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(escuta_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t n = sizeof a;
    ::getsockname(escuta_, reinterpret_cast<sockaddr*>(&a), &n);
    porta_ = ntohs(a.sin_port);
    ::listen(escuta_, 16);
    fio_ = std::thread([this] { serve(); });
  }
  ~ServidorNCM() {
    ::shutdown(escuta_, SHUT_RDWR);
    ::close(escuta_);
    fio_.join();
  }

  std::string endereco() const { return "http://127.0.0.1:" + std::to_string(porta_); }
  std::vector<std::string> alvos() {
    std::lock_guard l(trava_);
    return alvos_;
  }

 private:
  void serve() {
    // Until the destructor shuts the socket down.
    for (int c; (c = ::accept(escuta_, nullptr, nullptr)) >= 0;) {
      std::string pedido;
      char buf[2048];
      while (pedido.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = ::read(c, buf, sizeof buf);
        if (n <= 0) break;
        pedido.append(buf, size_t(n));
      }
      const size_t i = pedido.find(' '), f = pedido.find(' ', i + 1);
      const std::string alvo = i == std::string::npos ? "" : pedido.substr(i + 1, f - i - 1);
      {
        std::lock_guard l(trava_);
        alvos_.push_back(alvo);
      }
      if (const auto corpo = resposta_(alvo)) {
        const std::string r =
            "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(corpo->size()) +
            "\r\nConnection: close\r\n\r\n" + *corpo;
        (void)!::write(c, r.data(), r.size());
      }
      ::close(c);
    }
  }

  Resposta resposta_;
  int escuta_ = -1;
  int porta_ = 0;
  std::mutex trava_;
  std::vector<std::string> alvos_;
  std::thread fio_;
};

}  // namespace zuv::teste
