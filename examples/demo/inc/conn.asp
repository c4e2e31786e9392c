<%
' 站点设置与数据库连接辅助函数
' 本文件由首页包含使用，不要单独访问
Dim g_Conn, g_DbError
Const SITE_NAME = "青松中学校园网"
Const SITE_ADMIN = "信息中心"
Const DB_PATH = "data/school.mdb"
Const DB_PROVIDER = "Microsoft.Jet.OLEDB.4.0"
Const PAGE_SIZE = 5
' 连接对象在第一次用到时才创建
g_DbError = ""
Set g_Conn = Nothing
Function CloseConn()
	If Not (g_Conn Is Nothing) Then
		If g_Conn.State = 1 Then g_Conn.Close
		Set g_Conn = Nothing
	End If
	CloseConn = True
End Function

Function ExecuteRows(sql)
	Dim conn, rs
	ExecuteRows = Empty
	Set conn = OpenConn()
	If conn Is Nothing Then Exit Function
	On Error Resume Next
	Set rs = conn.Execute(sql)
	If Err.Number = 0 Then
		If Not rs.EOF Then ExecuteRows = rs.GetRows()
		rs.Close
	Else
		g_DbError = "查询失败：" & Err.Description
		Err.Clear
	End If
	On Error GoTo 0
	Set rs = Nothing
End Function

Function ExecuteSql(sql)
	Dim conn
	ExecuteSql = False
	Set conn = OpenConn()
	If conn Is Nothing Then Exit Function
	On Error Resume Next
	' 129 = adCmdText + adExecuteNoRecords
	conn.Execute sql, , 129
	If Err.Number = 0 Then
		ExecuteSql = True
	Else
		g_DbError = "执行失败：" & Err.Description
		Err.Clear
	End If
	On Error GoTo 0
End Function

Function OpenConn()
	Dim strConn
	If g_Conn Is Nothing Then
		strConn = "Provider=" & DB_PROVIDER & ";Data Source=" & Server.MapPath(DB_PATH) & ";"
		On Error Resume Next
		Set g_Conn = Server.CreateObject("ADODB.Connection")
		g_Conn.Open strConn
		If Err.Number <> 0 Then
			' 连接失败时记下原因，页面改用演示数据
			g_DbError = "数据库连接失败：" & Err.Description
			Err.Clear
			Set g_Conn = Nothing
		End If
		On Error GoTo 0
	End If
	Set OpenConn = g_Conn
End Function

Function SqlStr(s)
	' 把值转成 SQL 字符串常量，单引号要写两遍
	SqlStr = "'" & Replace(s & "", "'", "''") & "'"
End Function

%>
