#pragma once

#include <optional>
#include <string_view>

#include "exact/fee_schedule.h"
#include "exact/trade_fees.h"

namespace qilo {

// The boards whose price limits differ: the main boards of Shanghai and
// Shenzhen, ChiNext, STAR, the Beijing exchange, and funds on either
// exchange. Codes "main", "chinext", "star", "bj", "fund".
enum class Board { kMain, kChiNext, kStar, kBeijing, kFund };
const char* BoardCode(Board board);
std::optional<Board> BoardFromCode(std::string_view code);

// What a security's code tells of it.
struct Security {
  Exchange exchange = Exchange::kShanghai;
  SecurityKind kind = SecurityKind::kStock;
  Board board = Board::kMain;
};

// The security a six-digit code names on `date`, by its prefix: Shanghai main
// 600/601/603/605, STAR 688/689, Shenzhen main 000-003, ChiNext 300-302,
// Beijing 43/83/87/88 and, from 2024-04-22, 920; funds 50/51/56/58 in
// Shanghai, 15/16/18 in Shenzhen. Throws EFeeInputError naming the code for
// anything else (B shares, bonds, indices, a text that is no code) and for a
// 920 code before its first day.
Security SecurityFromCode(std::string_view code, Date date);

// Sets the terms' market and kind from `code` on the terms' date and gives
// its security. A market or kind also given must be the code's: otherwise
// EFeeInputError names both ("market 'sz' contradicts code '600000'");
// SecurityFromCode's errors too.
Security ApplySecurityCode(std::string_view code,
                           const std::optional<Exchange>& market,
                           const std::optional<SecurityKind>& kind,
                           FeeTerms* terms);

}  // namespace qilo
