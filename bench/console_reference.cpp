// The floor bench/console_status measures "tarnby.com /status" against: a
// console program that prints one line and ends, nothing more.
#include <cstdio>

int main() {
  std::puts("no countdown");
  return 0;
}
