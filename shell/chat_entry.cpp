#include "shell/chat_entry.h"

#include <string_view>

#include "game/game_state.h"
#include "protocol/chat_board.h"
#include "protocol/datagrams.h"
#include "render/bitmap_font.h"
#include "shell/virtual_keys.h"

int ChatCharacterForKey(int vk, bool shift, bool caps) {
  const bool second = shift || caps;
  if (vk >= VkA && vk < VkA + 26) return (second ? 'A' : 'a') + (vk - VkA);
  if (vk >= Vk0 && vk <= Vk0 + 9) {
    // Caps Lock leaves the digits alone.
    static const unsigned char kShifted[] = {')', '!', '"', 0xA3, '$', '%', '^', '&', '*', '('};
    return shift ? kShifted[vk - Vk0] : '0' + (vk - Vk0);
  }
  static const struct {
    int vk;
    unsigned char plain, second;
  } kKeys[] = {
      {VkSpace, ' ', ' '},     {VkOem1, ';', ':'},      {VkOemPlus, '=', '+'},
      {VkOemComma, ',', '<'},  {VkOemMinus, '-', '_'},  {VkOemPeriod, '.', '>'},
      {VkOem2, '/', '?'},      {VkOem3, '\'', '@'},     {VkOem4, '[', '{'},
      {VkOem5, '\\', '|'},     {VkOem6, ']', '}'},      {VkOem7, '#', '~'},
      {VkOem8, '`', 0xAC},     {VkInsert, '0', '0'},    {VkMultiply, '*', '*'},
      {VkAdd, '+', '+'},       {VkSeparator, '|', '|'}, {VkSubtract, '-', '-'},
      {VkDecimal, '.', '.'},   {VkDivide, '/', '/'},
  };
  for (const auto& k : kKeys)
    if (k.vk == vk) return second ? k.second : k.plain;
  return 0;
}

void TypeChatKey(GameState& g, int vk, bool shift, bool caps) {
  if (g.ChatInputLength >= kChatTextMax) return;
  std::string_view text(g.ChatInput, g.ChatInputLength);
  if (GameFont().TextWidth(text) > kChatEntryMaxWidth) return;
  int c = ChatCharacterForKey(vk, shift, caps);
  if (c == 0) return;
  g.ChatInput[g.ChatInputLength++] = static_cast<char>(c);
}

void DeleteChatCharacter(GameState& g) {
  if (g.ChatInputLength == 0) return;
  g.ChatInput[--g.ChatInputLength] = 0;
}

void SendChatLine(GameState& g) {
  if (g.ChatInputLength == 0) return;
  const bool hasSlot = g.LocalSlot >= 0 && g.LocalSlot < kSlotCount;
  if (g.IsClient && hasSlot && g.AllowInternet && !g.IsServer) {
    DatagramBuffer d;
    BuildChatLine(d, g.ChatInput);
    SendDatagram(g, g.ServerAddress, d.data(), d.size(), "Send error #11");
    EmptyChatInput(g);
    g.ClientQuiet = 0;
  } else if (g.IsServer && g.IsClient && hasSlot) {
    AppendChatLine(g, g.LocalSlot, g.ChatInput);
    EmptyChatInput(g);
    PlayEffect(g, "ring.wav");
  }
}
