# The fifteen column sets by class name: fuzz target names, corpus folders and replay rows.
set(HISTORY_COLUMN_SETS
    StockHistoryOrderTableHeader CreditHistoryOrderTableHeader
    StockHistoryTradeTableHeader CreditHistoryTradeTableHeader
    StockHistoryDeliveryTableHeader CreditHistoryDeliveryTableHeader
    CreditHistoryCreditDebtTableHeader
    StockHistoryCapitalTableHeader CreditHistoryCapitalTableHeader
    StockHistoryFundDetailTableHeader CreditHistoryFundDetailTableHeader
    StockHistoryPositionTableHeader CreditHistoryPositionTableHeader
    StockHistoryProfitTableHeader CreditHistoryProfitTableHeader)
