// Never gets here: a module linked into this program registers a second "GCollection" while it starts.
int main() {
    return 0;
}
