#include "HelpText.h"

#include <CLI/CLI.hpp>
#include <map>

#include "ExitStatus.h"

namespace varnow::cli {
namespace {

// The Korean of every help text; a text missing here is shown in English.
const std::map<std::string, std::string>& Korean() {
    static const std::map<std::string, std::string> texts{
        {"Varno Writer's command line: writes images and firmware into Varno boards.",
         "Varno Writer 명령줄: Varno 보드에 이미지와 펌웨어를 기록합니다."},
        {"Print this help message and exit", "이 도움말을 보여 주고 끝냅니다"},
        {"Display program version information and exit", "프로그램 버전을 보여 주고 끝냅니다"},
        {"KEY=VALUE pairs", "KEY=VALUE 쌍"},
        {"a CSV file of settings: one row a board, by MCU id (column mcu_id) or in order",
         "설정 CSV 파일: 보드마다 한 행, MCU ID(mcu_id 열) 또는 순서대로"},
        {"a file saved by settings backup", "settings backup으로 저장한 파일"},
        {"append one JSON object a board to this file",
         "보드마다 JSON 객체 하나를 이 파일에 덧붙입니다"},
        {"ask for the board's administrator password on the terminal (without echo) when the "
         "board asks for one; the default without the options below or $VARNOW_PASSWORD",
         "보드가 관리자 비밀번호를 요구하면 터미널에서 (화면에 표시하지 않고) 묻습니다. 아래 "
         "옵션이나 $VARNOW_PASSWORD가 없을 때의 기본값입니다"},
        {"ask for the new password on the terminal, twice (the default without the options "
         "below)",
         "새 비밀번호를 터미널에서 두 번 묻습니다(아래 옵션이 없을 때의 기본값)"},
        {"check a package: kind, image frame, product ID, name, hash, firmware CRC",
         "패키지 검사: 종류, 이미지 틀, 제품 ID, 이름, 해시, 펌웨어 CRC"},
        {"check every board up to its first write; write nothing",
         "모든 보드를 첫 기록 직전까지 확인하고 아무것도 기록하지 않습니다"},
        {"check the backup against the board; write nothing",
         "백업을 보드와 비교해 확인하고 아무것도 기록하지 않습니다"},
        {"check the package and the board up to the first write, and write nothing",
         "패키지와 보드를 첫 기록 직전까지 확인하고 아무것도 기록하지 않습니다"},
        {"check the subject and the board; make and write nothing",
         "주체와 보드를 확인하고 아무것도 만들거나 기록하지 않습니다"},
        {"check the values and list what would change; write nothing",
         "값을 확인하고 바뀔 것을 보여 주며 아무것도 기록하지 않습니다"},
        {"connect to the board and print its port, ISP mode, FIB id, MCU id and login",
         "보드에 연결하고 포트, ISP 모드, FIB ID, MCU ID, 로그인 여부를 보여 줍니다"},
        {"end after this many boards", "이만큼의 보드를 마치면 끝냅니다"},
        {"give the board a certificate and its RSA key from a DER, PEM or PKCS#12 file (the "
         "certificate's report is shown and must be confirmed)",
         "DER, PEM 또는 PKCS#12 파일의 인증서와 RSA 키를 보드에 줍니다(인증서 보고서를 보여 "
         "주고 확인을 받습니다)"},
        {"language of the messages: en or ko", "메시지의 언어: en 또는 ko"},
        {"list the board ports (the board's USB ports and simulated boards)",
         "보드 포트 목록(보드의 USB 포트와 시뮬레이션 보드)"},
        {"make a new RSA key and a self-signed certificate for the board (the common name is "
         "the board's IPv4 address unless --cn gives one)",
         "보드에 새 RSA 키와 자체 서명 인증서를 만들어 줍니다(--cn이 없으면 일반 이름은 보드의 "
         "IPv4 주소)"},
        {"make a new key and self-signed certificate for every board",
         "모든 보드에 새 키와 자체 서명 인증서를 만들어 줍니다"},
        {"one JSON object per line for every event, and a final result object",
         "사건마다 한 줄에 JSON 객체 하나, 마지막에 결과 객체"},
        {"print the certificate as PEM", "인증서를 PEM으로 출력합니다"},
        {"read and check the files and the board; write nothing",
         "파일과 보드를 읽고 확인하며 아무것도 기록하지 않습니다"},
        {"read the board's settings (IPv4, IPv6, wireless LAN) by the keys settings set takes",
         "보드의 설정(IPv4, IPv6, 무선 LAN)을 settings set의 키로 읽습니다"},
        {"record every byte written and received, with times, in this file",
         "주고받은 모든 바이트를 시간과 함께 이 파일에 기록합니다"},
        {"restart the board (its settings take effect) and connect to it again",
         "보드를 다시 시작하고(설정이 적용됨) 다시 연결합니다"},
        {"restart the board to apply them, and connect again",
         "설정을 적용하도록 보드를 다시 시작하고 다시 연결합니다"},
        {"save the board's settings block in a new file (restore gives it back)",
         "보드의 설정 블록을 새 파일에 저장합니다(restore로 되돌립니다)"},
        {"show the certificate the board holds (its report, or --pem, or --der FILE)",
         "보드의 인증서를 보여 줍니다(보고서, --pem 또는 --der FILE)"},
        {"the RSA key's length (default 1024)", "RSA 키 길이(기본값 1024)"},
        {"the board's network report: IPv4, IPv6, duplicate addresses, wireless LAN, the ARP "
         "and neighbour tables",
         "보드의 네트워크 보고서: IPv4, IPv6, 중복 주소, 무선 LAN, ARP 표와 이웃 표"},
        {"the board's password is in this environment variable",
         "보드의 비밀번호가 이 환경 변수에 있습니다"},
        {"the board's password is the first line of this file",
         "보드의 비밀번호는 이 파일의 첫 줄입니다"},
        {"the board's port: ttyACM0, COM3, a path, a /dev/serial/by-id or by-path link, usb:SERIAL "
         "or usb-path:PATH; default: the only board port found",
         "보드의 포트: ttyACM0, COM3, 경로, /dev/serial/by-id 또는 by-path 링크, usb:일련번호 또는 "
         "usb-path:경로. 기본값: 찾은 유일한 보드 포트"},
        {"the certificate's file (DER, PEM or PKCS#12)", "인증서 파일(DER, PEM 또는 PKCS#12)"},
        {"the common name (default: the board's IPv4 address)",
         "일반 이름(기본값: 보드의 IPv4 주소)"},
        {"the country code (default KR)", "국가 코드(기본값 KR)"},
        {"the e-mail address", "전자 우편 주소"},
        {"the file's password is in this environment variable",
         "파일의 비밀번호가 이 환경 변수에 있습니다"},
        {"the file's password is the first line of this file",
         "파일의 비밀번호는 이 파일의 첫 줄입니다"},
        {"the key's file when the certificate's holds none",
         "인증서 파일에 키가 없을 때의 키 파일"},
        {"the locality", "구/군/시"},
        {"the new file to save it in", "저장할 새 파일"},
        {"the new password is in this environment variable",
         "새 비밀번호가 이 환경 변수에 있습니다"},
        {"the new password is the first line of this file", "새 비밀번호는 이 파일의 첫 줄입니다"},
        {"the organization", "조직"},
        {"the organizational unit", "조직 단위"},
        {"the package (.qvk)", "패키지(.qvk)"},
        {"the package (.qvk) every board gets", "모든 보드에 기록할 패키지(.qvk)"},
        {"the state or province", "시/도"},
        {"upgrade the board's firmware through its boot loader, from a firmware or combined "
         "package (the image of a combined package is not written)",
         "펌웨어 패키지나 결합 패키지로 부트 로더를 통해 보드의 펌웨어를 업그레이드합니다(결합 "
         "패키지의 이미지는 기록하지 않음)"},
        {"use a simulated board inside this program", "이 프로그램 안의 시뮬레이션 보드를 씁니다"},
        {"use the certificate without asking", "묻지 않고 인증서를 씁니다"},
        {"what the board tells about itself: product and image names, uptime, MAC, firmware "
         "name, version and size",
         "보드가 알려 주는 자신의 정보: 제품과 이미지 이름, 가동 시간, MAC, 펌웨어 이름, 버전과 "
         "크기"},
        {"write a package into the board: its image (verified by the board's SHA-1), then its "
         "firmware, if it has one",
         "패키지를 보드에 기록합니다: 이미지(보드의 SHA-1로 확인), 그다음 펌웨어가 있으면 펌웨어"},
        {"write back a block saved by settings backup (or before a write) to the board it was "
         "saved from",
         "settings backup으로(또는 기록 전에) 저장한 블록을 저장했던 보드에 되돌려 기록합니다"},
        {"write every board that is plugged in: the package, then its settings row (--settings "
         "FILE.csv) and a new certificate (--cert-make), several boards at once",
         "연결된 모든 보드를 기록합니다: 패키지, 그다음 설정 행(--settings FILE.csv)과 새 "
         "인증서(--cert-make), 여러 보드를 한꺼번에"},
        {"write no image a board already holds", "보드에 이미 있는 이미지는 기록하지 않습니다"},
        {"write no image the board already holds (its hash is the image's)",
         "보드에 이미 있는 이미지(해시가 같음)는 기록하지 않습니다"},
        {"write the certificate's DER bytes to FILE", "인증서의 DER 바이트를 FILE에 씁니다"},
        {"settings commands", "설정 명령"},
        {"password commands", "비밀번호 명령"},
        {"cert commands", "인증서 명령"},
        {"set the board's administrator password (the board restarts)",
         "보드의 관리자 비밀번호를 설정합니다(보드가 다시 시작함)"},
        {"delete the board's administrator password (the board restarts)",
         "보드의 관리자 비밀번호를 지웁니다(보드가 다시 시작함)"},
        {"change settings: KEY=VALUE with the keys of settings show (ipv4.mode=static|dhcp, "
         "ipv4.address, ipv4.netmask, ipv4.gateway, ipv4.dns, ipv4.dns_auto=on|off, "
         "wlan.enabled=on|off, wlan.topology=adhoc|infrastructure|softap, "
         "wlan.channel=auto|1..13, wlan.ssid, wlan.key, wlan.8021x=off|eap-tls|eap-ttls|peap, "
         "wlan.identity, wlan.password, wlan.phy=none|802.11|802.11b|802.11b/g, "
         "wlan.short_preamble, wlan.short_slot, wlan.cts_protection)",
         "설정 변경: settings show의 키로 KEY=VALUE (ipv4.mode=static|dhcp, ipv4.address, "
         "ipv4.netmask, ipv4.gateway, ipv4.dns, ipv4.dns_auto=on|off, wlan.enabled=on|off, "
         "wlan.topology=adhoc|infrastructure|softap, wlan.channel=auto|1..13, wlan.ssid, "
         "wlan.key, wlan.8021x=off|eap-tls|eap-ttls|peap, wlan.identity, wlan.password, "
         "wlan.phy=none|802.11|802.11b|802.11b/g, wlan.short_preamble, wlan.short_slot, "
         "wlan.cts_protection)"},
    };
    return texts;
}

std::string Translated(const std::string& text, Language language) {
    if (language != Language::Korean) {
        return text;
    }
    const auto found = Korean().find(text);
    return found == Korean().end() ? text : found->second;
}

std::string CommandFooter(Language language) {
    return language == Language::Korean
               ? "종료 상태: varnow-cli --help의 표를 보십시오. 공통 옵션(--port, --simulate, "
                 "--password…, --trace, --lang, --json)은 명령 앞이나 뒤에 둡니다."
               : "Exit status: see the table in varnow-cli --help. The common options (--port, "
                 "--simulate, --password..., --trace, --lang, --json) go before or after the "
                 "command.";
}

void Localize(CLI::App& app, Language language, bool top) {
    app.description(Translated(app.get_description(), language));
    const bool korean = language == Language::Korean;
    for (CLI::Option* option : app.get_options()) {
        option->description(Translated(option->get_description(), language));
        if (korean && option->get_group() == "Options") {
            option->group("옵션");
        }
    }
    if (!top) {
        app.footer(CommandFooter(language));
    }
    for (CLI::App* sub : app.get_subcommands({})) {
        if (korean && sub->get_group() == "Subcommands") {
            sub->group("명령");
        }
        Localize(*sub, language, false);
    }
}

}  // namespace

void LocalizeHelp(CLI::App& app, Language language) {
    Localize(app, language, true);
    app.footer(ExitStatusHelp(language));
    if (language != Language::Korean) {
        return;
    }
    const auto formatter = app.get_formatter();
    const std::pair<const char*, const char*> labels[] = {
        {"Usage", "사용법"},
        {"OPTIONS", "옵션"},
        {"SUBCOMMAND", "명령"},
        {"Options", "옵션"},
        {"Positionals", "위치 인자"},
        {"Subcommands", "명령"},
        {"REQUIRED", "필수"},
        {"Excludes", "함께 쓸 수 없음"},
        {"Needs", "필요"},
        {"TEXT", "텍스트"},
        {"INT", "정수"},
        {"UINT", "정수"},
    };
    for (const auto& [english, korean] : labels) {
        formatter->label(english, korean);
    }
}

Language LanguageOfLocale(const std::string& locale) {
    return locale.starts_with("ko") ? Language::Korean : Language::English;
}

std::optional<Language> LanguageOnCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        std::string_view value;
        if (word == "--lang" && i + 1 < argc) {
            value = argv[i + 1];
        } else if (word.starts_with("--lang=")) {
            value = word.substr(7);
        } else {
            continue;
        }
        if (value == "ko") {
            return Language::Korean;
        }
        if (value == "en") {
            return Language::English;
        }
    }
    return std::nullopt;
}

}  // namespace varnow::cli
