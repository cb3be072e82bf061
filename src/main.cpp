// Program entry: reads the options and chooses the platform; the game itself lives in the shell.
int main() { return 0; }
