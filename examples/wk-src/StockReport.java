import java.sql.*;

public class StockReport {
    public static void stockReport(String warehouse, ResultSet[] stock, ResultSet[] value) throws SQLException {
        Connection con = DriverManager.getConnection("jdbc:default:connection");
        PreparedStatement s1 = con.prepareStatement("SELECT ID, NAME, QUANTITY FROM INV.ITEMS WHERE WAREHOUSE = ?");
        s1.setString(1, warehouse);
        stock[0] = s1.executeQuery();
        PreparedStatement s2 = con.prepareStatement("SELECT SUM(INV.ITEM_VALUE(ID)) FROM INV.ITEMS WHERE WAREHOUSE = ?");
        s2.setString(1, warehouse);
        value[0] = s2.executeQuery();
    }
}
