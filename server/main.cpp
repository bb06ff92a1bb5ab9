// The headless dedicated server arrives with the server's datagram handling.
#include <cstdio>
int main() {
  std::fputs("vrask-server: not built yet\n", stderr);
  return 1;
}
