// The help ticker's text, "操作帮助.TXT": one line per ticker line, GBK with CRLF line ends as the game
// reads it.

#include <string>
#include <vector>

#include "../Assetgen.h"
#include "platform/common/Gbk.h"

namespace vorlanex::assetgen {

namespace {

constexpr const char* kHelpLines[] = {
    "欢迎来到 Vorlanex 战场！消灭本关全部敌方坦克即可过关，击毁敌人和吃宝物都能得分，每得五万分奖励一条命。",
    "玩家1：方向键或小键盘8/2/4/6移动，空格键开火，回车键把一条命让给队友，P键收回。",
    "玩家2：W/Z/A/S键移动，Shift键开火，Tab键把一条命让给队友，Esc键收回。",
    "空格键离开标题画面和结算画面；单击鼠标右键打开难度菜单，选择低、中、高难度。",
    "F1：开关滚动帮助  F3：暂停/继续  F8/F9：雪花向右/向左飘  F10：开关玩家面板  F11：开关音乐  F12：开关音效  Alt+F4：退出",
    "宝物：散弹、弹速、射速、威力、弹数、炮弹大小、加血、加速、隐身、无敌、冻结敌人、穿越障碍、呼叫飞机，吃到就生效。",
};

void BuildHelpText(const Context& ctx, std::vector<AssetEntry>&)
{
    std::string utf8;
    for (const char* line : kHelpLines)
        utf8 += std::string(line) + "\r\n";
    const std::string gbk = Utf8ToGbk(utf8);
    WriteFileIfChanged(ctx.outDir / "操作帮助.TXT", std::vector<std::uint8_t>(gbk.begin(), gbk.end()));
}

const RegisterStep step{30, "help-text", BuildHelpText};

}  // namespace

}  // namespace vorlanex::assetgen
