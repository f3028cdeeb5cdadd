CREATE TRIGGER stock_checked BEFORE UPDATE OF quantity ON stock
WHEN NEW.quantity < 0
BEGIN
  SELECT RAISE(ABORT, 'stock cannot go below zero');
END;
