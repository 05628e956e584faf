// An executable that carries nothing but the embedded version marker.
int main() {
  return 0;
}
