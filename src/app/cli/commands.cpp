#include "app/cli/commands.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/drive_session.h"
#include "app/cli/json_writer.h"
#include "app/core/about_text.h"
#include "app/core/drive_list.h"
#include "app/core/media_check_app.h"
#include "app/core/offline_lookup.h"
#include "app/core/text_encoding.h"
#include "builder/builder_core.h"
#include "builder/configuration_block.h"
#include "mmc/type_names.h"

namespace korvalend::cli {
namespace {

void PrintLine(std::FILE* out, const std::string& bytes) {
    const std::string text = DisplayText(bytes);
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
}

void Error(const std::string& message) {
    std::fprintf(stderr, "korvalend-cli: %s\n", DisplayText(message).c_str());
}

// Report lines go to out as they are made; the waiting line only to a terminal.
class StreamSink final : public ReportSink {
  public:
    explicit StreamSink(std::FILE* out) : out_(out) {}
    void Clear() override { ++clears_; }
    void AddLine(const std::string& line) override {
        lines_.push_back(line);
        if (clears_ < 2) {
            if (isatty(fileno(stderr))) std::fprintf(stderr, "%s\r", line.c_str());
            return;
        }
        if (out_) PrintLine(out_, line);
    }
    void Flush() override { std::fflush(stderr); }
    std::vector<std::string> ReportLines() const {
        // The lines after the waiting line.
        return lines_.empty() ? lines_ : std::vector<std::string>(lines_.begin() + 1, lines_.end());
    }

  private:
    std::FILE* out_;
    int clears_ = 0;
    std::vector<std::string> lines_;
};

const char* BusName(std::uint32_t bus) {
    return bus == kBusUsb ? "usb" : bus == kBus1394 ? "ieee1394" : "other";
}

void WriteDriveJson(JsonWriter& json, std::string_view key, const DriveRecord& r) {
    json.BeginObject(key);
    json.String("device", r.rootPath.data());
    json.String("name", DeviceShortName(r));
    json.BeginObject("address");
    json.Integer("host", r.adapter);
    json.Integer("channel", r.pathId);
    json.Integer("target", r.target);
    json.Integer("lun", r.lun);
    json.EndObject();
    json.String("bus", BusName(r.busType));
    json.String("vendor", r.vendor.data());
    json.String("product", r.product.data());
    json.String("revision", r.revision.data());
    json.Integer("driveType", r.driveType);
    json.String("driveTypeName", r.driveTypeName ? r.driveTypeName : "");
    json.Bool("cdrWriter", r.cdrWriter);
    json.Bool("writer", IsListedWriter(r));
    json.String("line", FormatDriveLine(r));
    json.EndObject();
}

// Why no drive could be used: the drives the system has but the program may not open.
void ExplainUnopenedDrives(DevicePlatform& platform) {
    for (const std::string& root : platform.EnumerateOpticalDrives()) {
        OpenResult opened = platform.Open(root);
        if (!opened.connection && !opened.message.empty()) Error(opened.message);
    }
}

struct Started {
    std::unique_ptr<DriveSession> session;
    std::unique_ptr<MediaCheckApp> app;
    StartupStatus status = StartupStatus::NoDevice;
};

// Opens the drives and runs discovery. Returns an exit code when that already failed.
std::optional<int> StartApp(const Options& options, bool record, bool listAll, Started& started) {
    SessionResult opened = OpenDriveSession(options, record);
    if (!opened.session) {
        Error(opened.error);
        return kExitBadFile;
    }
    started.session = std::move(opened.session);
    started.app = std::make_unique<MediaCheckApp>(*started.session->top, *started.session->clock,
                                                  RunningConfigurationBlock(), listAll);
    started.status = started.app->Start();
    started.app->LoadUserMediaFile();
    if (started.status == StartupStatus::NoDevice) {
        Error(kNoDeviceMessage);
        return kExitFailure;
    }
    if (started.status == StartupStatus::NoDrive) {
        Error(kNoDriveMessage);
        ExplainUnopenedDrives(*started.session->base);
        return kExitFailure;
    }
    return std::nullopt;
}

bool IsNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos &&
           text.size() < 6;
}

// Makes the drive the options name current. Returns an exit code on failure.
std::optional<int> SelectRequestedDrive(const Options& options, Started& started) {
    MediaCheckApp& app = *started.app;
    int line = 0;
    if (options.drive && IsNumber(*options.drive)) {
        line = std::stoi(*options.drive);
        if (line >= static_cast<int>(app.Drives().lines.size())) {
            Error("there is no drive " + *options.drive + " in the list (see korvalend-cli list" +
                  std::string(options.allDrives ? " --all" : "") + ")");
            return kExitUsage;
        }
    } else if (options.drive) {
        std::error_code ec;
        std::string wanted = *options.drive;
        const auto canonical = std::filesystem::canonical(wanted, ec);
        if (!ec && !started.session->simulated) wanted = canonical.string();
        line = -1;
        for (std::size_t i = 0; i < app.Drives().lines.size(); ++i) {
            const DriveRecord* r =
                app.Device()->GetDriveRecord(static_cast<unsigned>(app.Drives().driveMap[i]));
            if (r && (wanted == r->rootPath.data() || *options.drive == r->rootPath.data())) {
                line = static_cast<int>(i);
            }
        }
        if (line < 0) {
            Error("no usable optical drive at " + *options.drive);
            ExplainUnopenedDrives(*started.session->base);
            return kExitFailure;
        }
    } else if (started.status == StartupStatus::NoListedDrive) {
        Error(std::string(kNoWriterMessage) +
              " Use --all to see every optical drive, and --drive to choose one.");
        return kExitFailure;
    }
    if (!app.SelectLine(line)) {
        const OpenFailure& failure = app.Device()->LastOpenFailure();
        Error(failure.message.empty() ? "cannot open " + failure.root : failure.message);
        return kExitFailure;
    }
    return std::nullopt;
}

// Discovery, then the drive the options name made current. A drive named by its path may be
// any optical drive, so the list then holds them all.
std::optional<int> StartOnRequestedDrive(const Options& options, bool record, Started& started) {
    const bool byPath = options.drive && !IsNumber(*options.drive);
    if (auto code = StartApp(options, record, options.allDrives || byPath, started)) return code;
    return SelectRequestedDrive(options, started);
}

void WriteReportJson(const DriveRecord* record, const ReportFacts& facts,
                     const std::vector<std::string>& lines) {
    JsonWriter json;
    json.BeginObject();
    if (record) {
        WriteDriveJson(json, "drive", *record);
    } else {
        json.Null("drive");
    }
    json.BeginArray("lines");
    for (const std::string& line : lines) json.String({}, line);
    json.EndArray();
    json.Integer("discType", facts.discType);
    json.String("discTypeName", DiscTypeName(facts.discType));
    json.String("family", facts.isCd ? "cd" : facts.isDvd ? "dvd" : "none");
    if (facts.isCd) {
        json.BeginObject("atip");
        json.Integer("leadIn", facts.leadIn);
        json.Integer("leadOut", facts.leadOut);
        json.Integer("lba", facts.lba);
        json.Number("megabytes", facts.capacityMb, 2);
        json.EndObject();
    } else {
        json.Null("atip");
    }
    if (facts.isDvd) {
        std::string hex;
        char pair[4];
        for (std::uint8_t b : facts.identifier) {
            std::snprintf(pair, sizeof pair, "%s%02X", hex.empty() ? "" : " ", b);
            hex += pair;
        }
        json.String("identifier", hex);
        json.Integer("blocks", facts.blocks);
        json.Number("gigabytes", facts.capacityGb, 2);
    } else {
        json.Null("identifier");
    }
    if (facts.maker) {
        json.String("maker", *facts.maker);
    } else {
        json.Null("maker");
    }
    if (facts.isCd || facts.isDvd) {
        json.BeginObject("speeds");
        json.Number("writeKBps", facts.writeSpeed, 0);
        json.Number("readKBps", facts.readSpeed, 0);
        json.Number("writeMultiple", facts.writeMultiple, facts.isCd ? 0 : 1);
        json.Number("readMultiple", facts.readMultiple, facts.isCd ? 0 : 1);
        json.EndObject();
    } else {
        json.Null("speeds");
    }
    json.BeginObject("lastSense");
    json.String("code", facts.lastSenseCode);
    json.String("text", facts.lastSenseText);
    json.EndObject();
    json.EndObject();
    std::fputs(json.Text().c_str(), stdout);
}

int ReportOn(Started& started, const Options& options, std::FILE* linesOut) {
    StreamSink sink(options.json ? nullptr : linesOut);
    const ReportFacts facts = started.app->Query(sink);
    if (options.json) WriteReportJson(started.app->SelectedRecord(), facts, sink.ReportLines());
    std::fflush(linesOut);
    return kExitOk;
}

}  // namespace

int RunList(const Options& options) {
    Started started;
    if (auto code = StartApp(options, false, options.allDrives, started)) return *code;
    const MediaCheckApp& app = *started.app;
    if (options.json) {
        JsonWriter json;
        json.BeginObject();
        json.BeginArray("drives");
        for (std::size_t i = 0; i < app.Drives().lines.size(); ++i) {
            const DriveRecord* r = started.app->Device()->GetDriveRecord(
                static_cast<unsigned>(app.Drives().driveMap[i]));
            if (r) WriteDriveJson(json, {}, *r);
        }
        json.EndArray();
        json.EndObject();
        std::fputs(json.Text().c_str(), stdout);
        return kExitOk;
    }
    for (const std::string& line : app.Drives().lines) PrintLine(stdout, line);
    if (app.Drives().lines.empty()) {
        Error(std::string(kNoWriterMessage) + " Use --all to see every optical drive.");
    }
    return kExitOk;
}

int RunReport(const Options& options) {
    Started started;
    if (auto code = StartOnRequestedDrive(options, false, started)) return *code;
    return ReportOn(started, options, stdout);
}

int RunCapture(const Options& options) {
    Started started;
    if (auto code = StartOnRequestedDrive(options, true, started)) return *code;
    // With the capture on standard output, the report goes to standard error.
    Options reportOptions = options;
    reportOptions.json = false;
    ReportOn(started, reportOptions, options.output ? stdout : stderr);

    const DriveRecord* record = started.app->SelectedRecord();
    const DriveCapture* capture =
        record ? started.session->recorder->CaptureOf(record->rootPath.data()) : nullptr;
    if (!capture) {
        Error("nothing was recorded");
        return kExitFailure;
    }
    const std::string text = FormatCapture(*capture);
    if (!options.output) {
        std::fputs(text.c_str(), stdout);
        return kExitOk;
    }
    std::ofstream out(*options.output, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        Error("cannot write the capture to " + *options.output);
        return kExitFailure;
    }
    std::fprintf(stderr, "korvalend-cli: capture of %s written to %s\n", record->rootPath.data(),
                 options.output->c_str());
    return kExitOk;
}

int RunAbout(const Options& options) {
    const ConfigurationBlockView block = RunningConfigurationBlock();
    if (options.json) {
        namespace f = block_field;
        JsonWriter json;
        json.BeginObject();
        json.String("caption", WindowCaption(block));
        json.String("name", block.Text(f::kName));
        json.String("date", block.Text(f::kDate));
        json.String("version", std::string(block.Text(f::kMajor)) + "." +
                                   std::string(block.Text(f::kMinor)) + "." +
                                   std::string(block.Text(f::kRev)));
        json.String("models", block.Text(f::kModel));
        json.String("remark", block.Text(f::kRemark));
        json.String("copyright", block.Text(f::kCopyright));
        json.EndObject();
        std::fputs(json.Text().c_str(), stdout);
        return kExitOk;
    }
    PrintLine(stdout, WindowCaption(block));
    std::fputs(DisplayText(AboutText(block)).c_str(), stdout);
    return kExitOk;
}

int RunLookup(const Options& options) {
    const auto& args = options.arguments;
    const ConfigurationBlockView block = RunningConfigurationBlock();
    UserMediaLists user;
    if (const UserMediaLoad load = LoadUserMediaFile(user); load.conversionError) {
        Error("user-defined media file: " + *load.conversionError);
    }
    const char* maker = nullptr;
    if (args.size() == 3 && args[0] == "cd") {
        const auto leadIn = ParseAtipTime(args[1]);
        const auto leadOut = ParseAtipTime(args[2]);
        if (!leadIn || !leadOut) {
            Error("ATIP times are written 972666 or 97:26:66");
            return kExitUsage;
        }
        maker = LookupCdMakerOffline(&user, block, *leadIn, *leadOut);
    } else if (args.size() >= 2 && (args[0] == "dvd+" || args[0] == "dvd-")) {
        std::string hex;
        for (std::size_t i = 1; i < args.size(); ++i) hex += args[i];
        const auto bytes = ParseIdentifierHex(hex);
        if (!bytes) {
            Error(
                "a DVD identifier is up to 12 bytes in hexadecimal, such as "
                "5249434F484A504E523031");
            return kExitUsage;
        }
        const std::span<const std::uint8_t> id(reinterpret_cast<const std::uint8_t*>(bytes->data()),
                                               bytes->size());
        maker = LookupDvdMakerOffline(&user, block, args[0] == "dvd+", id);
    } else {
        Error("lookup takes 'cd LEADIN LEADOUT', 'dvd+ HEX' or 'dvd- HEX'");
        return kExitUsage;
    }
    if (options.json) {
        JsonWriter json;
        json.BeginObject();
        if (maker) {
            json.String("maker", maker);
        } else {
            json.Null("maker");
        }
        json.EndObject();
        std::fputs(json.Text().c_str(), stdout);
    } else {
        PrintLine(stdout, std::string("Manufacturer Maybe = ") + (maker ? maker : "Unknown"));
    }
    return maker ? kExitOk : kExitFailure;
}

int RunUserFile(const Options& options) {
    const auto& args = options.arguments;
    std::optional<std::string> picked;
    if (args.size() == 2 && args[0] == "add") {
        // Like the file dialog: only an existing file can be chosen, by its full path.
        std::error_code ec;
        if (!std::filesystem::is_regular_file(args[1], ec)) {
            Error("File not exists ! (" + args[1] + ")");
            return kExitBadFile;
        }
        picked = std::filesystem::absolute(args[1], ec).string();
    } else if (!(args.size() == 1 && args[0] == "remove")) {
        Error("user-file takes 'add FILE' or 'remove'");
        return kExitUsage;
    }
    UserMediaLists lists;
    const UserFileChoiceOutcome outcome = ApplyUserFileChoice(picked, lists);
    PrintLine(stdout, outcome.message);
    if (outcome.load.conversionError) {
        Error(*outcome.load.conversionError);
        return kExitBadFile;
    }
    if (picked) {
        std::printf("%zu CD and %zu DVD records loaded\n", lists.cdList.size(),
                    lists.dvdList.size());
    }
    return outcome.settingStored ? kExitOk : kExitFailure;
}

int RunBuild(const Options& options, const char* argv0) {
    if (options.arguments.size() != 1) {
        Error("build takes one parameter file");
        return kExitUsage;
    }
    std::string prototype;
    if (options.prototype) {
        prototype = *options.prototype;
    } else {
        const auto self = RunningExecutablePath();
        prototype = self.empty() ? std::string(argv0) : self.string();
    }
    const std::string output = options.output.value_or("Korvalend.Exe");
    const BuildOutcome outcome = BuildFromParameterFile(options.arguments[0], prototype, output);
    const std::string caption(CaptionText(outcome.caption));
    if (outcome.status == BuildStatus::Created) {
        std::printf("%s: %s\n", caption.c_str(), DisplayText(outcome.message).c_str());
        return kExitOk;
    }
    std::string message = outcome.message;
    if (outcome.status == BuildStatus::ConversionError) {
        message = outcome.detail + ": " + message;  // file and line first, like a compiler
    } else if (!outcome.detail.empty()) {
        message += " (" + outcome.detail + ")";
    }
    std::fprintf(stderr, "korvalend-cli: %s: %s\n", caption.c_str(), DisplayText(message).c_str());
    switch (outcome.status) {
        case BuildStatus::NoFileSelected:
        case BuildStatus::FileNotFound:
        case BuildStatus::ParameterFileUnreadable:
        case BuildStatus::ConversionError:
            return kExitBadFile;
        default:
            return kExitFailure;
    }
}

}  // namespace korvalend::cli
