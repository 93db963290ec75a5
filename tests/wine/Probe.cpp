// The smallest program of the kind the tests are: linked with the same toolchain and runtime,
// it shows Wine can run them at all before any test depends on it.
int main() {
    return 0;
}
