// Says that it ran; cmake/wine-run.sh looks for these words.
#include <cstdio>

int main() {
  std::puts("kalmor-wine-probe");
  return 0;
}
