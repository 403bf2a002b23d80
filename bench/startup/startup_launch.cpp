// Starts one program under measurement on the X display in $DISPLAY and prints one line:
//
//   STARTUP_MS PEAK_KIB CLICK_MS V VH
//
// STARTUP_MS   from just before the program is spawned until its window's first paint has been handed to
//              the X server (reported by the preloaded paint trace)
// PEAK_KIB     the program's peak resident set size over the whole run, from wait4
// CLICK_MS     when the window has a start button: the numbers given as TYPED are typed into it as a user
//              does (Tab between the boxes), then the button is clicked, and this is the time from the
//              release of the mouse button, as the X server is told of it, until the result boxes have
//              been repainted; V and VH are what they then show. Otherwise "-" for all three.
//
//   startup_launch TRACE_LIBRARY TYPED PROGRAM
//
// TYPED is the text to type, with a comma where Tab is pressed, for example "1.5,6,1.2,0.375". The input
// goes through the XTEST extension, so it takes the same path in the X server as a real keyboard and mouse.
// Once measured, the program is ended with SIGTERM: its exit is not part of the measurement.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

long long monotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "startup_launch: %s\n", message.c_str());
    std::exit(1);
}

// The lines of the paint trace, read from a pipe with a deadline.
class TraceReader {
public:
    explicit TraceReader(int descriptor) : descriptor_(descriptor) {}

    // The next line that starts with `word`, or nothing when none comes within `timeout` or the program
    // closed the pipe.
    std::optional<std::string> waitFor(std::string_view word, std::chrono::milliseconds timeout) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            while (auto line = takeLine()) {
                if (line->starts_with(word) && (line->size() == word.size() || (*line)[word.size()] == ' '))
                    return line;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left <= 0ms)
                return std::nullopt;
            pollfd readable{.fd = descriptor_, .events = POLLIN, .revents = 0};
            int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                return std::nullopt;
            char buffer[4096];
            ssize_t count = ::read(descriptor_, buffer, sizeof buffer);
            if (count <= 0)
                return std::nullopt;
            pending_.append(buffer, static_cast<std::size_t>(count));
        }
    }

private:
    std::optional<std::string> takeLine() {
        std::size_t end = pending_.find('\n');
        if (end == std::string::npos)
            return std::nullopt;
        std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        return line;
    }

    int descriptor_;
    std::string pending_;
};

// The fields of a trace line after its first word.
std::istringstream fieldsOf(const std::string& line) {
    std::istringstream fields(line);
    std::string word;
    fields >> word;
    return fields;
}

class FakeInput {
public:
    FakeInput() : display_(XOpenDisplay(nullptr)) {
        if (display_ == nullptr)
            fail("cannot open the X display");
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(display_, &event, &error, &major, &minor))
            fail("the X server has no XTEST extension");
    }
    ~FakeInput() { XCloseDisplay(display_); }
    FakeInput(const FakeInput&) = delete;
    FakeInput& operator=(const FakeInput&) = delete;

    // Commas press Tab; everything else is typed as the key of that character.
    void type(std::string_view text) {
        for (char character : text) {
            KeySym symbol = NoSymbol;
            if (character == ',')
                symbol = XK_Tab;
            else if (character == '.')
                symbol = XK_period;
            else if (character >= '0' && character <= '9')
                symbol = XK_0 + (character - '0');
            else
                fail(std::string("cannot type '") + character + "'");
            KeyCode key = XKeysymToKeycode(display_, symbol);
            XTestFakeKeyEvent(display_, key, True, CurrentTime);
            XTestFakeKeyEvent(display_, key, False, CurrentTime);
            XSync(display_, False);
            std::this_thread::sleep_for(10ms);
        }
    }

    void moveTo(int x, int y) {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XSync(display_, False);
    }

    void button(bool pressed) {
        XTestFakeButtonEvent(display_, 1, pressed ? True : False, CurrentTime);
        // Waits until the server has taken the event, not until the program has handled it.
        XSync(display_, False);
    }

private:
    Display* display_;
};

struct Child {
    pid_t pid;
    int trace;  // the read end of the paint trace's pipe
};

Child spawnTraced(const std::string& library, const char* program) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        fail("pipe: " + std::string(std::strerror(errno)));
    // The write end is the only descriptor the program inherits; the trace finds its number here.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int traceDescriptor = 3;
    posix_spawn_file_actions_adddup2(&actions, pipe[1], traceDescriptor);
    ::setenv("STARTUP_TRACE_FD", std::to_string(traceDescriptor).c_str(), 1);
    ::setenv("LD_PRELOAD", library.c_str(), 1);
    char* arguments[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    int error = posix_spawn(&pid, program, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    if (error != 0)
        fail(std::string("cannot start ") + program + ": " + std::strerror(error));
    return {pid, pipe[0]};
}

double millisecondsBetween(long long from, long long to) { return static_cast<double>(to - from) / 1e6; }

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_launch TRACE_LIBRARY TYPED PROGRAM\n");
        return 2;
    }
    const std::string library = argv[1];
    const std::string_view typed = argv[2];
    const char* program = argv[3];
    FakeInput input;

    const long long started = monotonicNanoseconds();
    Child child = spawnTraced(library, program);
    TraceReader trace(child.trace);
    auto painted = trace.waitFor("painted", 20s);
    std::string startup, click = "- - -";
    if (painted) {
        long long paintedAt = 0;
        int x = 0, y = 0;
        auto fields = fieldsOf(*painted);
        fields >> paintedAt;
        char milliseconds[32];
        std::snprintf(milliseconds, sizeof milliseconds, "%.1f", millisecondsBetween(started, paintedAt));
        startup = milliseconds;
        if (fields >> x >> y) {
            // Time for the window manager to give the window the focus before typing into it.
            std::this_thread::sleep_for(300ms);
            input.type(typed);
            input.moveTo(x, y);
            input.button(true);
            std::this_thread::sleep_for(100ms);
            const long long releasedAt = monotonicNanoseconds();
            input.button(false);
            if (auto shown = trace.waitFor("results", 5s)) {
                long long shownAt = 0;
                std::string volume, liquidVolume;
                auto values = fieldsOf(*shown);
                values >> shownAt >> volume >> liquidVolume;
                char milliseconds[32];
                std::snprintf(milliseconds, sizeof milliseconds, "%.2f", millisecondsBetween(releasedAt, shownAt));
                click = std::string(milliseconds) + ' ' + volume + ' ' + liquidVolume;
            } else {
                std::fprintf(stderr, "startup_launch: the result boxes were not repainted after the click\n");
            }
        }
    } else {
        std::fprintf(stderr, "startup_launch: %s painted no window within 20 s\n", program);
    }

    ::kill(child.pid, SIGTERM);
    int status = 0;
    rusage usage{};
    if (::wait4(child.pid, &status, 0, &usage) < 0)
        fail("wait4: " + std::string(std::strerror(errno)));
    if (!painted)
        return 1;
    std::printf("%s %ld %s\n", startup.c_str(), usage.ru_maxrss, click.c_str());
    return 0;
}
